#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace vorlane {

// Asks the operator for the password of a directory account (the bind DN, shown in the prompt).
// No value means the operator cancelled. The directory layer keeps the answer only until the
// bind is done.
using PasswordCallback = std::function<std::optional<QString>(const QString& account)>;

}  // namespace vorlane
