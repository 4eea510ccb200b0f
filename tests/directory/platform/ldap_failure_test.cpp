#include "directory/platform/ldap_failure.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(LdapFailure, MapsResultCodesToPlatformCodesAndTexts) {
    const struct {
        int result;
        std::uint32_t code;
        const char* text;
    } cases[] = {
        {19, 0x8007202F, "A constraint violation occurred."},
        {32, 0x80072030, "There is no such object on the server."},
        {68, 0x80071392, "The object already exists."},
        {53, 0x80072035, "The server is unwilling to process the request."},
        {81, 0x8007203A, "The server is not operational."},
        {-1, 0x8007203A, "The server is not operational."},
        {-7, 0x8007203E, "The search filter cannot be recognized."},
        {87, 0x8007203E, "The search filter cannot be recognized."},
        {49, 0x8007052E, "The user name or password is incorrect."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        const Failure failure = failureFromLdapResult(c.result);
        EXPECT_EQ(failure.code, c.code);
        EXPECT_EQ(failure.description, QString::fromUtf8(c.text));
    }
}

TEST(LdapFailure, DiagnosticFollowsInParentheses) {
    const Failure failure = failureFromLdapResult(
        19, "0000202F: samldb: sAMAccountName contains invalid ',' character");
    EXPECT_EQ(failureSuffix(failure),
              "8007202F A constraint violation occurred. (0000202F: samldb: sAMAccountName "
              "contains invalid ',' character)");
}

}  // namespace
}  // namespace vorlane
