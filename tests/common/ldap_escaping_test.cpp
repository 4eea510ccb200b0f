#include "common/ldap_escaping.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(LdapEscaping, FilterValues) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("alice@example.com"), QStringLiteral("alice@example.com")},
        {QStringLiteral("*@*.*"), QStringLiteral("\\2A@\\2A.\\2A")},
        {QStringLiteral("(a)"), QStringLiteral("\\28a\\29")},
        {QStringLiteral("a\\b"), QStringLiteral("a\\5Cb")},
        {QStringLiteral("a;b"), QStringLiteral("a\\3bb")},
        {QString(QChar(u'\0')), QStringLiteral("\\00")},
        {QStringLiteral("j\u00f6rg@example.com"), QStringLiteral("j\\C3\\B6rg@example.com")},
        {QString(), QString()},
    };
    for (const auto& [value, escaped] : cases) {
        EXPECT_EQ(escapeFilterValue(value), escaped) << value.toStdString();
    }
}

TEST(LdapEscaping, RdnValues) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("Sales Team"), QStringLiteral("Sales Team")},
        {QStringLiteral("Sales, East"), QStringLiteral("Sales\\, East")},
        {QStringLiteral("Domain Admins,CN=Users"), QStringLiteral("Domain Admins\\,CN=Users")},
        {QStringLiteral("a+b\"c<d>e;f\\g"), QStringLiteral("a\\+b\\\"c\\<d\\>e\\;f\\\\g")},
        {QStringLiteral("#1 #2"), QStringLiteral("\\#1 #2")},
        {QStringLiteral(" padded "), QStringLiteral("\\ padded\\ ")},
        {QStringLiteral(" "), QStringLiteral("\\ ")},
        {QStringLiteral("a\u0000b"), QStringLiteral("a\\00b")},
        {QStringLiteral("J\u00f6rg/Team"), QStringLiteral("J\u00f6rg/Team")},
    };
    for (const auto& [value, escaped] : cases) {
        EXPECT_EQ(escapeRdnValue(value), escaped) << value.toStdString();
    }
    EXPECT_EQ(escapeForAdsPath(QStringLiteral("CN=R&D/Labs,DC=x")),
              QStringLiteral("CN=R&D\\/Labs,DC=x"));
}

}  // namespace
}  // namespace vorlane
