#include "directory/embedded/ldif_storage.h"

#include <gtest/gtest.h>

#include <QFile>

#include "directory/embedded/embedded_directory.h"
#include "directory/open_directory.h"
#include "support/temp_dir.h"

namespace vorlane::embedded {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(LdifStorage, DemoDataRoundTrips) {
    auto store = readLdif(demoDirectoryLdif());
    ASSERT_TRUE(store.has_value())
        << store.error().line << " " << store.error().reason.toStdString();
    EXPECT_EQ((*store)->domainDn().toString(), "DC=example,DC=com");
    EXPECT_GE((*store)->size(), 30u);
    const QByteArray written = writeLdif(**store);
    auto again = readLdif(written);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(writeLdif(**again), written);
    ASSERT_EQ((*again)->size(), (*store)->size());
    auto user = (*again)->lookup(QStringLiteral("CN=Alice Able,CN=Users,DC=example,DC=com"));
    ASSERT_TRUE(user.has_value());
    EXPECT_EQ((*user)->attributes.first(QStringLiteral("mail")), "alice@example.com");
}

TEST(LdifStorage, ValuesThatNeedBase64SurviveTheFile) {
    auto store = readLdif(demoDirectoryLdif());
    ASSERT_TRUE(store.has_value());
    const Dn dn = *Dn::parse(QStringLiteral("OU=Sales,DC=example,DC=com"));
    const QString odd = QStringLiteral(" J\u00fcrgen: line\nbreak ");
    (*store)->setCommitHook({});
    ASSERT_TRUE((*store)->modify(dn, {{QStringLiteral("description"), {odd}}}));
    auto again = readLdif(writeLdif(**store));
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ((*again)->find(dn)->attributes.first(QStringLiteral("description")), odd);
}

TEST(LdifStorage, SavesAfterEveryChangeAndReopens) {
    testing::TempDir dir;
    const QString path = dir.file(QStringLiteral("state.ldif"));
    {
        auto opened = openStoreFile(path, demoDirectoryLdif());
        ASSERT_TRUE(opened.store);
        EXPECT_TRUE(opened.problem.isEmpty());
        EXPECT_TRUE(QFile::exists(path));
        EmbeddedDirectory directory(opened.store);
        auto group = directory.bindGroup(
            QStringLiteral("LDAP://CN=Engineering Staff,OU=Engineering,DC=example,DC=com"));
        ASSERT_TRUE(group.has_value());
        ASSERT_TRUE(
            (*group)->add(QStringLiteral("LDAP://CN=Ivy Irwin,OU=Platform,OU=Engineering,"
                                         "DC=example,DC=com")));
    }
    auto reopened = openStoreFile(path, QByteArray("garbage that is never read"));
    ASSERT_TRUE(reopened.store);
    EmbeddedDirectory directory(reopened.store);
    auto group = directory.bindGroup(
        QStringLiteral("LDAP://CN=Engineering Staff,OU=Engineering,DC=example,DC=com"));
    ASSERT_TRUE(group.has_value());
    EXPECT_TRUE((*group)
                    ->isMember(QStringLiteral(
                        "LDAP://CN=Ivy Irwin,OU=Platform,OU=Engineering,DC=example,DC=com"))
                    .value_or(false));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));
}

TEST(LdifStorage, ASaveInterruptedBeforeTheRenameLeavesTheOldFile) {
    testing::TempDir dir;
    const QString path = dir.file(QStringLiteral("state.ldif"));
    ASSERT_TRUE(saveFileAtomically(path, demoDirectoryLdif()));
    auto interrupted = saveFileAtomically(path, QByteArray("dn: torn"), AtomicSave{true});
    EXPECT_FALSE(interrupted.has_value());
    EXPECT_EQ(readAll(path), demoDirectoryLdif());
    auto opened = openStoreFile(path, {});
    EXPECT_TRUE(opened.store);
}

TEST(LdifStorage, ACorruptFileIsNeverOverwrittenAndTheDirectoryIsUnreachable) {
    const struct {
        const char* text;
        const char* where;
    } cases[] = {
        {"dn: DC=example,DC=com\nobjectClass: domainDNS\n\ndn: OU=x,DC=example,DC=com\n"
         "objectClass: organizationalUnit\nthis is no attribute line\n",
         "line 6:"},
        {"dn: DC=example,DC=com\nobjectClass: domainDNS\n\n# orphan\ndn: OU=x,OU=Missing,"
         "DC=example,DC=com\nobjectClass: organizationalUnit\n",
         "line 5:"},
        {"dn: cn=,\nobjectClass: domainDNS\n", "line 1:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testing::TempDir dir;
        const QString path = dir.file(QStringLiteral("state.ldif"));
        writeAll(path, c.text);
        auto opened = openDirectory(DirectoryOptions{path});
        EXPECT_TRUE(opened.problem.contains(path)) << opened.problem.toStdString();
        EXPECT_TRUE(opened.problem.contains(QString::fromUtf8(c.where)))
            << opened.problem.toStdString();
        auto bound = opened.directory->bindObject(QStringLiteral("LDAP://rootDSE"));
        ASSERT_FALSE(bound.has_value());
        EXPECT_EQ(bound.error().code, 0x8007203Au);
        auto connection = opened.directory->createQueryConnection();
        ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")));
        EXPECT_EQ(connection
                      ->execute(QStringLiteral(
                          "<LDAP://DC=example,DC=com>;(objectClass=*);AdsPath;subtree"))
                      .error()
                      .code,
                  0x8007203Au);
        EXPECT_EQ(readAll(path), QByteArray(c.text));
    }
}

}  // namespace
}  // namespace vorlane::embedded
