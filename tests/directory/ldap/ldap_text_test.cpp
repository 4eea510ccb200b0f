#include <gtest/gtest.h>

#include "directory/ldap/ldap_text.h"
#include "directory/ldap/mail_address.h"

namespace vorlane {
namespace {

TEST(LdapText, FilterValuesAreEscaped) {
    EXPECT_EQ(escapeFilterValue(QStringLiteral("CN=a (b)*\\c,DC=x")),
              QStringLiteral("CN=a \\28b\\29\\2A\\5Cc,DC=x"));
    // Octets beyond ASCII are escaped too, which the filter syntax allows.
    EXPECT_EQ(escapeFilterValue(QStringLiteral("Jürgen")), QStringLiteral("J\\C3\\BCrgen"));
}

TEST(LdapText, DefaultMailAddressIsTheAliasAtTheDomainsDnsName) {
    EXPECT_EQ(defaultMailAddress(QStringLiteral("Sales"),
                                 QStringLiteral("CN=Sales\\, East,OU=x,DC=example,DC=co,DC=uk")),
              QStringLiteral("Sales@example.co.uk"));
    EXPECT_EQ(defaultMailAddress(QStringLiteral("Sales"), QStringLiteral("cn=Sales,dc=test")),
              QStringLiteral("Sales@test"));
}

}  // namespace
}  // namespace vorlane
