#pragma once

#include <QString>

#include "common/result.h"

namespace vorlane {

// A loaded library's handle; zero (nullptr) when loading failed.
using LibraryHandle = void*;

// Loads and releases shared libraries.
class LibraryLoader {
  public:
    virtual ~LibraryLoader() = default;
    // The library's handle, or zero when it cannot be loaded.
    virtual LibraryHandle load(const QString& name) = 0;
    // Releasing a zero handle is a failure that does nothing.
    virtual Result<void> release(LibraryHandle handle) = 0;
};

// The system's dynamic loader (dlopen, dlclose).
class DynamicLibraryLoader : public LibraryLoader {
  public:
    LibraryHandle load(const QString& name) override;
    Result<void> release(LibraryHandle handle) override;
};

}  // namespace vorlane
