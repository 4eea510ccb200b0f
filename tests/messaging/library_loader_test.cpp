#include "messaging/library_loader.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(DynamicLibraryLoader, LoadsAndReleasesALibrary) {
    DynamicLibraryLoader loader;
    const LibraryHandle handle = loader.load(QStringLiteral("libm.so.6"));
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(loader.release(handle));
}

TEST(DynamicLibraryLoader, MissingLibraryGivesAZeroHandleWhoseReleaseFailsHarmlessly) {
    DynamicLibraryLoader loader;
    const LibraryHandle handle = loader.load(QStringLiteral("libvorlane-no-such-library.so"));
    EXPECT_EQ(handle, nullptr);
    const auto released = loader.release(handle);
    ASSERT_FALSE(released);
    EXPECT_EQ(released.error().code, 0x80070006u);
}

}  // namespace
}  // namespace vorlane
