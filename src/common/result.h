#pragma once

#include <expected>

#include "common/failure.h"

namespace vorlane {

// Every operation that can fail returns its value or the Failure; no global error state.
template <class T>
using Result = std::expected<T, Failure>;

inline std::unexpected<Failure> fail(Failure failure) {
    return std::unexpected<Failure>(std::move(failure));
}

}  // namespace vorlane
