#include "messaging/library_loader.h"

#include <dlfcn.h>

#include <QFile>

namespace vorlane {

namespace {
// The loader's own reason for its last failure (dlerror), as the failure's description.
Failure loaderFailure() {
    const char* reason = dlerror();
    return {0x8007007E, reason ? QString::fromLocal8Bit(reason) : QString()};
}
}  // namespace

LibraryHandle DynamicLibraryLoader::load(const QString& name) {
    const QByteArray file = QFile::encodeName(name);
    return dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
}

Result<void> DynamicLibraryLoader::release(LibraryHandle handle) {
    // dlclose must never see a zero handle: glibc does not promise to survive it.
    if (handle == nullptr) {
        return fail({0x80070006, QStringLiteral("The handle is invalid.")});
    }
    if (dlclose(handle) != 0) return fail(loaderFailure());
    return {};
}

}  // namespace vorlane
