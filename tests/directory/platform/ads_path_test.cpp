#include "directory/platform/ads_path.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(AdsPath, ParsesTheThreeForms) {
    const struct {
        const char* path;
        const char* server;
        const char* dn;
        bool rootDse;
    } cases[] = {
        {"LDAP://rootDSE", "", "", true},
        {"LDAP://ROOTDSE", "", "", true},
        {"LDAP://dc1.example.com/rootDSE", "dc1.example.com", "", true},
        {"LDAP://OU=Sales,DC=example,DC=com", "", "OU=Sales,DC=example,DC=com", false},
        {"LDAP://dc1:389/CN=Users,DC=x", "dc1:389", "CN=Users,DC=x", false},
        {"LDAP://CN=a\\/b,DC=x", "", "CN=a/b,DC=x", false},
        {"LDAP://dc1/CN=a\\/b,DC=x", "dc1", "CN=a/b,DC=x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto parsed = parseAdsPath(QString::fromUtf8(c.path));
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->server, QString::fromUtf8(c.server));
        EXPECT_EQ(parsed->dn, QString::fromUtf8(c.dn));
        EXPECT_EQ(parsed->rootDse, c.rootDse);
    }
}

TEST(AdsPath, RefusesPathsThatAreNotLdapPaths) {
    for (const char* path : {"", "LDAP://", "ldap://DC=x", "GC://DC=x", "DC=x", "LDAP:///DC=x",
                             "LDAP://dc1/", "LDAP://CN=a/b,DC=x"}) {
        SCOPED_TRACE(path);
        auto parsed = parseAdsPath(QString::fromUtf8(path));
        ASSERT_FALSE(parsed.has_value());
        EXPECT_EQ(parsed.error(), failures::badPathname());
    }
}

TEST(AdsPath, FormatEscapesSlashesAndRoundTrips) {
    EXPECT_EQ(formatAdsPath("", "CN=a/b,DC=x"), "LDAP://CN=a\\/b,DC=x");
    EXPECT_EQ(formatAdsPath("dc1", "DC=x"), "LDAP://dc1/DC=x");
    EXPECT_EQ(parseAdsPath(formatAdsPath("", "CN=a/b,DC=x"))->dn, "CN=a/b,DC=x");
}

}  // namespace
}  // namespace vorlane
