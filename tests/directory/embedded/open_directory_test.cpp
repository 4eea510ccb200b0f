#include "directory/open_directory.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/temp_dir.h"

namespace vorlane {
namespace {

TEST(OpenDirectory, StartsFromTheDemoDomainAndKeepsItsState) {
    testing::TempDir dir;
    const QString path = dir.file(QStringLiteral("Vorlane.directory.ldif"));
    {
        auto opened = openDirectory(DirectoryOptions{path});
        ASSERT_TRUE(opened.problem.isEmpty()) << opened.problem.toStdString();
        auto root = opened.directory->bindObject(QStringLiteral("LDAP://rootDSE"));
        ASSERT_TRUE(root.has_value());
        EXPECT_EQ((*root)->get(QStringLiteral("defaultNamingContext")).value_or(QString()),
                  "DC=example,DC=com");
        auto sales =
            opened.directory->bindContainer(QStringLiteral("LDAP://OU=Sales,DC=example,DC=com"));
        ASSERT_TRUE(sales.has_value());
        auto created = (*sales)->create(QStringLiteral("group"), QStringLiteral("CN=Kept"));
        ASSERT_TRUE(created.has_value());
        ASSERT_TRUE((*created)->setInfo());
    }
    EXPECT_TRUE(QFile::exists(path));
    auto reopened = openDirectory(DirectoryOptions{path});
    ASSERT_TRUE(reopened.problem.isEmpty());
    EXPECT_TRUE(
        reopened.directory->bindGroup(QStringLiteral("LDAP://CN=Kept,OU=Sales,DC=example,DC=com")));
}

TEST(OpenDirectory, DemoDomainHasWhatThePickerAndLookupNeed) {
    testing::TempDir dir;
    auto opened = openDirectory(DirectoryOptions{dir.file(QStringLiteral("d.ldif"))});
    auto connection = opened.directory->createQueryConnection();
    ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")));
    auto shared = connection->execute(QStringLiteral(
        "<LDAP://DC=example,DC=com>;((mail=sales@example.com));distinguishedName;subTree"));
    ASSERT_TRUE(shared.has_value());
    EXPECT_EQ((*shared)->recordCount(), 2);  // one address carried by two users
    auto computers = connection->execute(QStringLiteral(
        "<LDAP://DC=example,DC=com>;(&(objectClass=container)(cn=computers));AdsPath;subtree"));
    ASSERT_TRUE(computers.has_value());
    EXPECT_EQ((*computers)->recordCount(), 3);  // CN=Computers twice and one "computers"
}

}  // namespace
}  // namespace vorlane
