#include "picker/dn_helpers.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

namespace vorlane {
namespace {

struct Case {
    QString argument;
    QString expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << '"' << c.argument.left(60).toStdString() << '"';
}

class StripLdapPrefixTest : public ::testing::TestWithParam<Case> {};

TEST_P(StripLdapPrefixTest, RemovesEveryPrefixInAnyCase) {
    const QString argument = GetParam().argument;
    EXPECT_EQ(StripLdapPrefix(argument), GetParam().expected);
    EXPECT_EQ(argument, GetParam().argument);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StripLdapPrefixTest,
    ::testing::Values(Case{"LDAP://OU=Sales,DC=example,DC=com", "OU=Sales,DC=example,DC=com"},
                      Case{"ldap://OU=Sales,DC=example,DC=com", "OU=Sales,DC=example,DC=com"},
                      Case{"lDaP://OU=Sales,DC=example,DC=com", "OU=Sales,DC=example,DC=com"},
                      Case{"OU=Sales,DC=example,DC=com", "OU=Sales,DC=example,DC=com"},
                      Case{"", ""},
                      Case{"LDAP://LDAP://OU=Sales,DC=example,DC=com",
                           "OU=Sales,DC=example,DC=com"},
                      Case{"OU=a LDAP://b,DC=com", "OU=a b,DC=com"},
                      // What a removal joins together is not looked at again.
                      Case{"LDAPLDAP://://OU=x", "LDAP://OU=x"}, Case{"LDAP:/OU=x", "LDAP:/OU=x"},
                      Case{"LDAP://server/OU=x", "server/OU=x"}));

class GetFirstRdnValueTest : public ::testing::TestWithParam<Case> {};

TEST_P(GetFirstRdnValueTest, TakesTheTextBetweenFirstEqualsAndFirstComma) {
    EXPECT_EQ(GetFirstRdnValue(GetParam().argument), GetParam().expected);
}

const QString kFar = QString(32766, u'x');  // a character after it stands at position 32,767

INSTANTIATE_TEST_SUITE_P(
    Cases, GetFirstRdnValueTest,
    ::testing::Values(Case{"LDAP://OU=Sales,DC=example,DC=com", "Sales"},
                      Case{"CN=Users,DC=example,DC=com", "Users"}, Case{"DC=com", ""},
                      Case{"LDAP://rootDSE", ""}, Case{"OU=,DC=com", ""}, Case{"x,OU=Sales", ""},
                      Case{"", ""}, Case{"OU=a=b,DC=com", "a=b"},
                      // An escaped comma is not recognised: the value ends at the backslash.
                      Case{"OU=Sales\\, East,DC=example,DC=com", "Sales\\"},
                      Case{"OU=Sales, East,DC=com", "Sales"},
                      // Positions up to 32,767 count; a character only beyond is absent.
                      Case{"A=" + QString(32764, u'v') + ",DC=com", QString(32764, u'v')},
                      Case{"A=" + QString(32765, u'v') + ",DC=com", ""},
                      Case{kFar + "=v,DC=com", ""}, Case{QString(32765, u'x') + "=v,DC=com", ""},
                      Case{QString(32764, u'x') + "=v,DC=com", "v"}));

class DnToDottedNameTest : public ::testing::TestWithParam<Case> {};

TEST_P(DnToDottedNameTest, DropsUpperCaseTypesAndDotsTheCommas) {
    EXPECT_EQ(DnToDottedName(GetParam().argument), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DnToDottedNameTest,
    ::testing::Values(Case{"DC=example,DC=com", "example.com"},
                      Case{"OU=Sales,DC=example,DC=com", "Sales.example.com"},
                      Case{"CN=Users,DC=example,DC=com", "Users.example.com"},
                      Case{"dc=example,dc=com", "dc=example.dc=com"}, Case{"example", "example"},
                      Case{"", ""}, Case{"O=x,L=y", "O=x.L=y"},
                      // Each pattern is replaced once over the text, in the order CN, DC, OU.
                      Case{"DDC==C=x", "D=C=x"}, Case{"DCN==x", "D=x"}, Case{"OCN=U=x", "x"},
                      Case{"DOU=C=x", "DC=x"}));

}  // namespace
}  // namespace vorlane
