#include "directory/embedded/ldap_filter.h"

#include <gtest/gtest.h>

#include "directory/embedded/entry.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {
namespace {

AttributeMap sampleEntry() {
    AttributeMap entry;
    entry.set(QStringLiteral("objectClass"), {"top", "group"});
    entry.set(QStringLiteral("cn"), {"Sales (East) *"});
    entry.set(QStringLiteral("sAMAccountName"), {"SalesEast"});
    entry.set(QStringLiteral("groupType"), {"-2147483640"});
    entry.set(QStringLiteral("mail"), {"Sales.East@example.com"});
    entry.set(QStringLiteral("member"), {"CN=Alice Able,OU=Sales,DC=example,DC=com"});
    entry.set(QStringLiteral("description"), {"J\u00fcrgen's list"});
    return entry;
}

TEST(LdapFilter, MatchesEntriesAsTheServerDoes) {
    const struct {
        const char* filter;
        bool matches;
    } cases[] = {
        {"(objectClass=group)", true},
        {"(OBJECTCLASS=GROUP)", true},
        {"(objectClass=top)", true},
        {"(objectClass=container)", false},
        {"(objectClass=*)", true},
        {"(telephoneNumber=*)", false},
        {"(!(telephoneNumber=*))", true},
        {"(mail=sales.east@EXAMPLE.com)", true},
        {"(mail=sales*)", true},
        {"(mail=*@example.com)", true},
        {"(mail=s*e*t@*.com)", true},
        {"(mail=*east*west*)", false},
        {"(sAMAccountName=Sales*East)", true},
        {"(sAMAccountName=SalesEast*East)", false},
        {"(cn=Sales \\28East\\29 \\2a)", true},
        {"(cn=Sales \\28East\\29 \\2A)", true},
        {"(cn=*\\29*)", true},
        {"(description=j\\c3\\bcrgen's list)", true},
        {"(&(objectClass=group)(mail=*))", true},
        {"(&(objectClass=group)(mail=x))", false},
        {"(|(mail=x)(sAMAccountName=salesEAST))", true},
        {"(|(mail=x)(cn=y))", false},
        {"(&)", true},
        {"(|)", false},
        {"(groupType>=-2147483640)", true},
        {"(groupType<=-2147483641)", false},
        {"(groupType>=8)", false},
        {"(sAMAccountName>=sales)", true},
        {"(sAMAccountName<=sales)", false},
        {"(groupType:1.2.840.113556.1.4.803:=2147483656)", true},
        {"(groupType:1.2.840.113556.1.4.803:=2)", false},
        {"(groupType:1.2.840.113556.1.4.804:=10)", true},
        {"(member=cn=alice able,ou=SALES,dc=example,dc=com)", true},
        {"(member=CN=Alice Able, OU=Sales, DC=example, DC=com)", true},
        {"(member=CN=Bob,OU=Sales,DC=example,DC=com)", false},
        {"((mail=sales.east@example.com))", true},
        {"mail=sales.east@example.com", true},
        {"(sAMAccountName~=salseast)", false},
    };
    const AttributeMap entry = sampleEntry();
    const AttributeValues values = [&entry](const QString& name) { return entry.values(name); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        auto filter = parseFilter(QString::fromUtf8(c.filter));
        ASSERT_TRUE(filter.has_value());
        EXPECT_EQ(matches(*filter, values), c.matches);
    }
}

TEST(LdapFilter, RefusesWhatDoesNotParseWithTheFilterError) {
    for (const char* text :
         {"", "(", "()", "(mail=x", "mail=x)", "(mail=x))", "(=x)", "(&(a=1)(b=2)", "(!(a=1)(b=2))",
          "(a=\\zz)", "(a=\\2)", "(a=(b)", "((a=1)(b=2))", "(a=b)(c=d)", "(a**=b)", "(a=x**y)",
          "(:=x)", "( a=1)x"}) {
        SCOPED_TRACE(text);
        auto filter = parseFilter(QString::fromUtf8(text));
        ASSERT_FALSE(filter.has_value());
        EXPECT_EQ(filter.error().code, 0x8007203Eu);
    }
}

}  // namespace
}  // namespace vorlane::embedded
