#include "console/distribution_list.h"

#include <gtest/gtest.h>

#include "seeded_directory.h"
#include "support/faulty_directory.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
namespace domain = vorlane::testing::provisioning_domain;

const Failure kRefused{0x80072035,
                       QStringLiteral("The server is unwilling to process the request.")};
const QString kContainerPath = QStringLiteral("LDAP://") + domain::kContainer;

TEST(CreateDL, MapsTheScopeKeywordAfterUpperCasing) {
    struct Case {
        QString keyword;
        std::optional<qint32> plain, security;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("LOCAL"), 4, -2147483644},
        {QStringLiteral("Domain Local"), 4, -2147483644},
        {QStringLiteral("domain local"), 4, -2147483644},
        {QStringLiteral("GLOBAL"), 2, -2147483646},
        {QStringLiteral("gLoBaL"), 2, -2147483646},
        {QStringLiteral("Universal"), 8, -2147483640},
        {QStringLiteral(" GLOBAL"), std::nullopt, std::nullopt},
        {QStringLiteral("GLOBAL "), std::nullopt, std::nullopt},
        {QStringLiteral("DOMAINLOCAL"), std::nullopt, std::nullopt},
        {QStringLiteral("DOMAIN  LOCAL"), std::nullopt, std::nullopt},
        {QStringLiteral("Security"), std::nullopt, std::nullopt},
        {QString(), std::nullopt, std::nullopt},
    };
    for (const Case& keyword : cases) {
        SCOPED_TRACE(keyword.keyword.toStdString());
        EXPECT_EQ(groupTypeForKeyword(keyword.keyword, false), keyword.plain);
        EXPECT_EQ(groupTypeForKeyword(keyword.keyword, true), keyword.security);
    }
}

TEST(CreateDL, CreatesAMailEnabledGroupOfTheKeywordsType) {
    struct Case {
        QString name, keyword;
        bool security;
        qint32 groupType;
    };
    for (const Case& made :
         {Case{QStringLiteral("DL Global"), QStringLiteral("Global"), false, 2},
          Case{QStringLiteral("DL Local"), QStringLiteral("local"), false, 4},
          Case{QStringLiteral("DL Secure"), QStringLiteral("UNIVERSAL"), true, -2147483640}}) {
        SCOPED_TRACE(made.name.toStdString());
        SeededDirectory seeded;
        FaultyDirectory faulty(seeded.directory());
        auto group = createDL(faulty, kContainerPath, made.name, QStringLiteral("dl.account"),
                              made.keyword, made.security);
        ASSERT_TRUE(group);
        EXPECT_EQ(faulty.calls().mid(0, 4),
                  (QStringList{
                      QStringLiteral("bindContainer(") + kContainerPath + u')',
                      QStringLiteral("create(group,cn=") + made.name + u')',
                      QStringLiteral("put(sAMAccountName,dl.account)"),
                      QStringLiteral("put(groupType,") + QString::number(made.groupType) + u')'}));

        auto stored = seeded.directory().bindGroup(QStringLiteral("LDAP://CN=") + made.name + u',' +
                                                   domain::kContainer);
        ASSERT_TRUE(stored);
        EXPECT_EQ((*stored)->getInteger(QStringLiteral("groupType")), made.groupType);
        EXPECT_EQ((*stored)->get(QStringLiteral("sAMAccountName")), QStringLiteral("dl.account"));
        EXPECT_TRUE((*stored)->get(QStringLiteral("mail")));
        EXPECT_FALSE((*stored)->description()) << "no description is set";
    }
}

TEST(CreateDL, UnknownKeywordTouchesNoDirectory) {
    SeededDirectory seeded;
    FaultyDirectory faulty(seeded.directory());
    EXPECT_EQ(createDL(faulty, kContainerPath, QStringLiteral("DL"), QStringLiteral("dl"),
                       QStringLiteral("DOMAINLOCAL"), false),
              nullptr);
    EXPECT_TRUE(faulty.calls().isEmpty());
}

TEST(CreateDL, ReturnsNoGroupUnlessCreateBothCommitsAndMailEnablingSucceeded) {
    for (const QString& rule :
         {QStringLiteral("bindContainer"), QStringLiteral("create"), QStringLiteral("setInfo#1"),
          QStringLiteral("mailEnable"), QStringLiteral("setInfo#2")}) {
        SCOPED_TRACE(rule.toStdString());
        SeededDirectory seeded;
        FaultyDirectory faulty(seeded.directory());
        faulty.failOn(rule, kRefused);
        EXPECT_EQ(createDL(faulty, kContainerPath, QStringLiteral("DL"), QStringLiteral("dl"),
                           QStringLiteral("GLOBAL"), false),
                  nullptr);
        if (rule.startsWith(QStringLiteral("setInfo")) || rule == QStringLiteral("mailEnable")) {
            // Each later step is still attempted.
            EXPECT_EQ(faulty.calls().filter(QStringLiteral("setInfo")).size(), 2);
            EXPECT_EQ(faulty.calls().filter(QStringLiteral("mailEnable")).size(), 1);
        }
    }
}

TEST(CreateDL, GroupNameIsEscapedAsAValue) {
    SeededDirectory seeded;
    FaultyDirectory faulty(seeded.directory());
    auto group = createDL(faulty, kContainerPath, QStringLiteral("#Ops"), QStringLiteral("ops"),
                          QStringLiteral("GLOBAL"), false);
    ASSERT_TRUE(group);
    EXPECT_TRUE(faulty.calls().contains(QStringLiteral("create(group,cn=\\#Ops)")));
}

}  // namespace
}  // namespace vorlane
