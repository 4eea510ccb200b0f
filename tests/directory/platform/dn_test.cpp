#include "directory/platform/dn.h"

#include <gtest/gtest.h>

#include "directory/platform/ldap_failure.h"

namespace vorlane {
namespace {

TEST(Dn, WritesNamesBackWithUpperCaseTypesAndEscapes) {
    const struct {
        const char* text;
        const char* written;
        std::size_t size;
    } cases[] = {
        {"OU=Sales,DC=example,DC=com", "OU=Sales,DC=example,DC=com", 3},
        {"cn=Sales Team,ou=sales,dc=example,dc=com", "CN=Sales Team,OU=sales,DC=example,DC=com", 4},
        {"CN=Sales\\, East,DC=x", "CN=Sales\\, East,DC=x", 2},
        {"CN=Sales\\2C East,DC=x", "CN=Sales\\, East,DC=x", 2},
        {"CN=a\\+b,DC=x", "CN=a\\+b,DC=x", 2},
        {"CN=J\xc3\xbcrgen,DC=x", "CN=J\xc3\xbcrgen,DC=x", 2},
        {"CN=a/b,DC=x", "CN=a/b,DC=x", 2},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto dn = Dn::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(dn.has_value());
        EXPECT_EQ(dn->toString(), QString::fromUtf8(c.written));
        EXPECT_EQ(dn->size(), c.size);
    }
}

TEST(Dn, RefusesTextThatIsNoName) {
    for (const char* text : {"cn=,", "garbage", "CN=a,,DC=x", "=x,DC=y", "CN=a,DC=x,", "CN"}) {
        SCOPED_TRACE(text);
        auto dn = Dn::parse(QString::fromUtf8(text), QStringLiteral("why"));
        ASSERT_FALSE(dn.has_value());
        EXPECT_EQ(dn.error(), failureFromLdapResult(ldap_result::kInvalidDnSyntax, "why"));
    }
}

TEST(Dn, ComparesWithoutRegardToCaseOrEscapeForm) {
    auto a = Dn::parse(QStringLiteral("CN=Sales\\, East,OU=Sales,DC=Example,DC=COM"));
    auto b = Dn::parse(QStringLiteral("cn=sales\\2c east, ou=SALES, dc=example, dc=com"));
    auto c = Dn::parse(QStringLiteral("CN=Sales East,OU=Sales,DC=example,DC=com"));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->key(), b->key());
    EXPECT_TRUE(*a == *b);
    EXPECT_FALSE(*a == *c);
}

TEST(Dn, NavigatesParentsAndSubtrees) {
    auto dn = Dn::parse(QStringLiteral("CN=Teams,OU=East,OU=Sales,DC=example,DC=com"));
    auto sales = Dn::parse(QStringLiteral("ou=sales,dc=EXAMPLE,dc=com"));
    auto other = Dn::parse(QStringLiteral("OU=East,DC=example,DC=com"));
    ASSERT_TRUE(dn && sales && other);
    EXPECT_EQ(dn->parent().toString(), QStringLiteral("OU=East,OU=Sales,DC=example,DC=com"));
    EXPECT_EQ(dn->firstRdnText(), QStringLiteral("CN=Teams"));
    EXPECT_EQ(dn->firstRdn().front().value, QStringLiteral("Teams"));
    EXPECT_TRUE(dn->isWithin(*sales));
    EXPECT_TRUE(sales->isWithin(*sales));
    EXPECT_FALSE(sales->isWithin(*dn));
    EXPECT_FALSE(dn->isWithin(*other));
    EXPECT_EQ(sales->parent().child(sales->firstRdn()), *sales);
    EXPECT_TRUE(Dn().parent().isEmpty());
}

TEST(Dn, EscapesValuesAsTheDirectoryWritesThem) {
    EXPECT_EQ(escapeDnValue(QStringLiteral("Sales, East")), QStringLiteral("Sales\\, East"));
    EXPECT_EQ(escapeDnValue(QStringLiteral(" #x ")), QStringLiteral("\\ #x\\ "));
    EXPECT_EQ(escapeDnValue(QStringLiteral("#x")), QStringLiteral("\\#x"));
    EXPECT_EQ(escapeDnValue(QStringLiteral("a\"+;<>=\\b")),
              QStringLiteral("a\\\"\\+\\;\\<\\>\\=\\\\b"));
}

}  // namespace
}  // namespace vorlane
