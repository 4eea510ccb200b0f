#include "common/failure.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(FailureSuffix, CodeInUpperHexWithoutLeadingZerosThenBlankThenText) {
    const struct {
        Failure failure;
        const char* expected;
    } cases[] = {
        {{0x8007202F, "A constraint violation occurred."}, "8007202F A constraint violation occurred."},
        {{0xD, "Type mismatch"}, "D Type mismatch"},
        {{0x5, ""}, "5 "},
        {{0xABCDEF, "x"}, "ABCDEF x"},
    };
    for (const auto& c : cases) EXPECT_EQ(failureSuffix(c.failure), QString::fromUtf8(c.expected));
}

}  // namespace
}  // namespace vorlane
