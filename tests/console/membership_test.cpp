#include "console/membership.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "seeded_directory.h"
#include "support/faulty_directory.h"
#include "support/log_capture.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
namespace domain = vorlane::testing::provisioning_domain;

const Failure kRefused{0x80072035,
                       QStringLiteral("The server is unwilling to process the request.")};

class Membership : public ::testing::Test {
  protected:
    Membership() : faulty_(seeded_.directory()) {}

    std::unique_ptr<DirectoryGroup> bindGroup(const QString& path) {
        auto group = faulty_.bindGroup(path);
        EXPECT_TRUE(group);
        return group ? std::move(*group) : nullptr;
    }
    // The calls of one operation, with their argument.
    QStringList callsOf(const QString& op) const {
        return faulty_.calls().filter(QRegularExpression(u'^' + op + QStringLiteral("\\(")));
    }

    SeededDirectory seeded_;
    FaultyDirectory faulty_;
    LogCapture log_;
};

TEST_F(Membership, TurnsTheUserNameIntoAPath) {
    struct Case {
        const char* situation;
        QString userName, domainDN;
        QString testedPath;  // membership test and removal
        QString addedPath;   // the add
    };
    const QString users = QStringLiteral("CN=Users,DC=example,DC=com");
    const std::vector<Case> cases = {
        {"complete path, no domain", domain::kAlicePath, QString(), domain::kAlicePath,
         domain::kAlicePath},
        {"complete path holding the domain in other letter case", domain::kAlicePath,
         QStringLiteral("dc=EXAMPLE,dc=COM"), domain::kAlicePath, domain::kAlicePath},
        {"bare name", QStringLiteral("Alice Adams"), domain::kDomain,
         QStringLiteral("LDAP://cn=Alice Adams,cn=Users,DC=example,DC=com"),
         QStringLiteral("LDAP://cn=Alice Adams,DC=example,DC=com")},
        {"a path of another domain counts as a bare name", domain::kAlicePath, users,
         QStringLiteral("LDAP://cn=") + domain::kAlicePath + QStringLiteral(",cn=Users,") + users,
         QStringLiteral("LDAP://cn=") + domain::kAlicePath + u',' + users},
        {"empty name, no domain", QString(), QString(), QStringLiteral("LDAP://cn=,cn=Users,"),
         QStringLiteral("LDAP://cn=,")},
        {"empty name with a domain", QString(), domain::kDomain,
         QStringLiteral("LDAP://cn=,cn=Users,DC=example,DC=com"),
         QStringLiteral("LDAP://cn=,DC=example,DC=com")},
    };
    for (const Case& path : cases) {
        SCOPED_TRACE(path.situation);
        EXPECT_EQ(userEntryPath(path.userName, path.domainDN, QStringLiteral(",cn=Users,")),
                  path.testedPath);
        EXPECT_EQ(userEntryPath(path.userName, path.domainDN, QStringLiteral(",")), path.addedPath);
    }

    // The operations use those paths.
    auto group = bindGroup(domain::kPlainGroupPath);
    findUserInGroup(QStringLiteral("Alice Adams"), domain::kDomain, *group);
    addUserToGroup(faulty_, log_.log(), QStringLiteral("Alice Adams"), *group, domain::kDomain);
    removeUser(QStringLiteral("Alice Adams"), *group, domain::kDomain);
    EXPECT_EQ(
        callsOf(QStringLiteral("isMember")),
        QStringList{QStringLiteral("isMember(LDAP://cn=Alice Adams,cn=Users,DC=example,DC=com)")});
    EXPECT_EQ(callsOf(QStringLiteral("bindObject")),
              QStringList{QStringLiteral("bindObject(LDAP://cn=Alice Adams,DC=example,DC=com)")});
    EXPECT_EQ(
        callsOf(QStringLiteral("remove")),
        QStringList{QStringLiteral("remove(LDAP://cn=Alice Adams,cn=Users,DC=example,DC=com)")});
}

TEST_F(Membership, FindUserInGroupAnswersMinusOneForAMemberAndZeroOtherwise) {
    auto sales = bindGroup(domain::kSalesTeamPath);
    EXPECT_EQ(findUserInGroup(domain::kAlicePath, QString(), *sales), kAutomationTrue);
    EXPECT_EQ(findUserInGroup(domain::kBobPath, QString(), *sales), kAutomationFalse);
    EXPECT_EQ(findUserInGroup(QString(), QString(), *sales), kAutomationFalse);
    faulty_.failOn(QStringLiteral("isMember"), kRefused);
    EXPECT_EQ(findUserInGroup(domain::kAlicePath, QString(), *sales), kAutomationFalse);
    EXPECT_TRUE(log_.boxLines().isEmpty());
}

TEST_F(Membership, AddUserToGroupAddsCommitsAndLogsTwoLines) {
    auto plain = bindGroup(domain::kPlainGroupPath);
    EXPECT_EQ(addUserToGroup(faulty_, log_.log(), domain::kAlicePath, *plain, QString()),
              kAutomationTrue);
    EXPECT_EQ(log_.boxLines(), (QStringList{QStringLiteral("retrieved user object with ADsPath ") +
                                                domain::kAlicePath,
                                            QStringLiteral("attempting to add ") +
                                                domain::kAlicePath + QStringLiteral(" to group")}));
    EXPECT_EQ(log_.fileLines(), log_.boxLines());
    EXPECT_EQ(callsOf(QStringLiteral("setInfo")).size(), 1);
    EXPECT_EQ(plain->isMember(domain::kAlicePath), true);
}

TEST_F(Membership, AddUserToGroupLogsEachFailureAndAnswersZero) {
    // A bare name with the users' container as domain: the bound user's own path differs in
    // letter case from the path that was bound, and the commit line names the user's own.
    const QString userName = QStringLiteral("Alice Adams");
    const QString container = QStringLiteral("ou=provisioning,dc=example,dc=com");
    const QString boundPath = QStringLiteral("LDAP://cn=Alice Adams,") + container;
    struct Case {
        const char* situation;
        QString rule;
        Failure failure;
        QStringList lines;
    };
    const QStringList bound{QStringLiteral("retrieved user object with ADsPath ") + boundPath,
                            QStringLiteral("attempting to add Alice Adams to group")};
    const std::vector<Case> cases = {
        {"binding fails",
         QStringLiteral("bindObject"),
         kRefused,
         {QStringLiteral("GetObject(") + boundPath +
          QStringLiteral(") failed:80072035 The server is unwilling to process the request.")}},
        {"add fails", QStringLiteral("add"), kRefused,
         bound +
             QStringList{QStringLiteral(
                 "objGroup.Add failed:80072035 The server is unwilling to process the request.")}},
        {"commit fails", QStringLiteral("setInfo"), kRefused,
         bound + QStringList{QStringLiteral("objGroup.SetInfo err for ") + domain::kAlicePath +
                             QStringLiteral(":80072035 The server is unwilling to process the "
                                            "request.")}},
    };
    for (const Case& failure : cases) {
        SCOPED_TRACE(failure.situation);
        LogCapture log;
        FaultyDirectory faulty(seeded_.directory());
        faulty.failOn(failure.rule, failure.failure);
        auto wrapped = faulty.bindGroup(domain::kPlainGroupPath);
        ASSERT_TRUE(wrapped);
        EXPECT_EQ(addUserToGroup(faulty, log.log(), userName, **wrapped, container),
                  kAutomationFalse);
        EXPECT_EQ(log.boxLines(), failure.lines);
        EXPECT_EQ(log.fileLines(), failure.lines);
    }
}

TEST_F(Membership, AddingAnEmptyNameFailsToBindTheBarePath) {
    auto plain = bindGroup(domain::kPlainGroupPath);
    EXPECT_EQ(addUserToGroup(faulty_, log_.log(), QString(), *plain, QString()), kAutomationFalse);
    ASSERT_EQ(log_.boxLines().size(), 1);
    EXPECT_TRUE(log_.boxLines()[0].startsWith(QStringLiteral("GetObject(LDAP://cn=,) failed:8007")))
        << log_.boxLines()[0].toStdString();
}

TEST_F(Membership, RemoveUserRemovesWithoutCommitAndIgnoresANonMember) {
    auto sales = bindGroup(domain::kSalesTeamPath);
    removeUser(domain::kBobPath, *sales, QString());
    EXPECT_EQ(sales->isMember(domain::kAlicePath), true);
    removeUser(domain::kAlicePath, *sales, QString());
    EXPECT_EQ(sales->isMember(domain::kAlicePath), false);
    EXPECT_TRUE(callsOf(QStringLiteral("setInfo")).isEmpty());
    EXPECT_TRUE(log_.boxLines().isEmpty());
}

}  // namespace
}  // namespace vorlane
