#include "directory/platform/command_text.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(CommandText, SplitsTheFourParts) {
    auto command = parseCommandText(
        "<LDAP://DC=example,DC=com>;(|(objectClass=container)(objectClass=organizationalUnit));"
        "AdsPath, cn;onelevel");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->basePath, "LDAP://DC=example,DC=com");
    EXPECT_EQ(command->filter, "(|(objectClass=container)(objectClass=organizationalUnit))");
    EXPECT_EQ(command->attributes, QStringList({"AdsPath", "cn"}));
    EXPECT_EQ(command->scope, SearchScope::OneLevel);
}

TEST(CommandText, ScopesInAnyLetterCase) {
    const struct {
        const char* scope;
        SearchScope expected;
    } cases[] = {{"base", SearchScope::Base},         {"BASE", SearchScope::Base},
                 {"onelevel", SearchScope::OneLevel}, {"OneLevel", SearchScope::OneLevel},
                 {"subTree", SearchScope::Subtree},   {"SUBTREE", SearchScope::Subtree}};
    for (const auto& c : cases) {
        auto command = parseCommandText(QStringLiteral("<LDAP://DC=x>;(cn=*);cn;") + c.scope);
        ASSERT_TRUE(command.has_value()) << c.scope;
        EXPECT_EQ(command->scope, c.expected) << c.scope;
    }
}

TEST(CommandText, RefusesMalformedTexts) {
    for (const char* text :
         {"", "<LDAP://DC=x>;(cn=*);cn", "<LDAP://DC=x>;(cn=*);cn;subtree;extra",
          "LDAP://DC=x;(cn=*);cn;subtree", "<LDAP://DC=x>;(cn=*);;subtree",
          "<LDAP://DC=x>;(cn=*);cn;children", "<LDAP://DC=x>;(cn=a;b);cn;subtree"}) {
        SCOPED_TRACE(text);
        auto command = parseCommandText(QString::fromUtf8(text));
        ASSERT_FALSE(command.has_value());
        EXPECT_EQ(command.error(), failures::invalidFilter());
    }
}

}  // namespace
}  // namespace vorlane
