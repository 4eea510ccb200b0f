#include "directory/ldap/ldap_text.h"

#include <gtest/gtest.h>

#include "directory/ldap/mail_address.h"

namespace vorlane {
namespace {

TEST(LdapText, FilterValuesAreEscaped) {
    EXPECT_EQ(escapeFilterValue(QStringLiteral("CN=a (b)*\\c,DC=x")),
              QStringLiteral("CN=a \\28b\\29\\2A\\5Cc,DC=x"));
    // Octets beyond ASCII are escaped too, which the filter syntax allows.
    EXPECT_EQ(escapeFilterValue(QStringLiteral("Jürgen")), QStringLiteral("J\\C3\\BCrgen"));
}

TEST(LdapText, RedundantParenthesesAroundAFilterGo) {
    const struct {
        const char* filter;
        const char* expected;
    } cases[] = {
        {"((mail=a@b.c))", "(mail=a@b.c)"},
        {"(((mail=a@b.c)))", "(mail=a@b.c)"},
        {" ((mail=a)) ", "(mail=a)"},
        {"(mail=a)", "(mail=a)"},
        {"(&(a=1)(b=2))", "(&(a=1)(b=2))"},
        {"((a=1)(b=2))", "((a=1)(b=2))"},  // not redundant: left for the parser to refuse
        {"((cn=x\\29))", "(cn=x\\29)"},
        {"(mail=x", "(mail=x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(withoutRedundantParentheses(QString::fromUtf8(c.filter)),
                  QString::fromUtf8(c.expected));
    }
}

TEST(LdapText, DomainOfADn) {
    const QString dn = QStringLiteral("CN=Sales\\, East,OU=x,DC=example,DC=co,DC=uk");
    EXPECT_EQ(domainDnOf(dn), QStringLiteral("DC=example,DC=co,DC=uk"));
    EXPECT_EQ(dnsDomainOf(dn), QStringLiteral("example.co.uk"));
    EXPECT_EQ(dnsDomainOf(QStringLiteral("DC=a,OU=b,DC=test")), QStringLiteral("test"));
}

TEST(LdapText, FreeAliasNumbersPastTakenAddresses) {
    const QSet<QString> taken{QStringLiteral("list@example.com"),
                              QStringLiteral("list2@example.com")};
    EXPECT_EQ(freeAlias(QStringLiteral("List"), QStringLiteral("example.com"), taken),
              QStringLiteral("List3"));
    EXPECT_EQ(freeAlias(QStringLiteral("Other"), QStringLiteral("example.com"), taken),
              QStringLiteral("Other"));
}

}  // namespace
}  // namespace vorlane
