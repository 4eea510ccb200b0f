#include "console/group_provisioning.h"

#include <gtest/gtest.h>

#include <vector>

#include "seeded_directory.h"
#include "support/fake_console_controls.h"
#include "support/faulty_directory.h"
#include "support/log_capture.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
namespace domain = vorlane::testing::provisioning_domain;

const Failure kUnbound{0x80072030, QStringLiteral("There is no such object on the server.")};
const Failure kRefused{0x80072035,
                       QStringLiteral("The server is unwilling to process the request.")};
const Failure kBusy{0x8007200E, QStringLiteral("The directory service is busy.")};
const QString kSeparator(20, u'-');

// One request against the seeded directory, through a wrapper that fails chosen operations.
class Request {
  public:
    Request() : faulty_(seeded_.directory()) {}

    FaultyDirectory& faulty() { return faulty_; }
    FakeConsoleControls& controls() { return controls_; }
    Directory& directory() { return seeded_.directory(); }

    // Runs "Create Group"; with addUser, for Alice's path as the lookup found it.
    QStringList run(const QString& groupName, bool addUser,
                    const QString& container = domain::kContainer) {
        controls_.addUser = addUser;
        controls_.email = domain::kAliceMail;
        const MemberPathList members =
            addUser ? MemberPathList(QStringList{domain::kAlicePath}) : std::nullopt;
        return run(groupName, members, container);
    }
    QStringList run(const QString& groupName, const MemberPathList& members,
                    const QString& container) {
        const qsizetype before = log_.boxLines().size();
        createADGroup(faulty_, log_.log(), controls_, groupName, members, container);
        EXPECT_EQ(log_.fileLines(), log_.boxLines()) << "box and file differ";
        return log_.boxLines().mid(before);
    }

    // Whether the group exists, is mail-enabled and has Alice as a member.
    bool mailEnabledWithAlice(const QString& groupPath) {
        auto group = directory().bindGroup(groupPath);
        if (!group) return false;
        const bool mailEnabled = (*group)->get(QStringLiteral("mail")).has_value();
        return mailEnabled && (*group)->isMember(domain::kAlicePath).value_or(false);
    }

  private:
    SeededDirectory seeded_;
    FaultyDirectory faulty_;
    FakeConsoleControls controls_;
    LogCapture log_;
};

// Lines that end in "*" match any line that starts with the rest: a failure that the directory
// itself produces carries its own diagnostic text.
void expectLines(const QStringList& actual, const QStringList& expected) {
    ASSERT_EQ(actual.size(), expected.size()) << actual.join(u'\n').toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (expected[i].endsWith(u'*')) {
            EXPECT_TRUE(actual[i].startsWith(expected[i].chopped(1)))
                << "line " << i << ": " << actual[i].toStdString();
        } else {
            EXPECT_EQ(actual[i], expected[i]) << "line " << i;
        }
    }
}

QStringList opening() {
    return {kSeparator, QStringLiteral("attempting to open ") + domain::kContainer};
}

QStringList createdUpToCommit(const QString& name, const QString& account, const QString& scope) {
    return {QStringLiteral("opened ") + domain::kContainer,
            name + QStringLiteral(" not found, attempting to create it"),
            QStringLiteral("created ") + name + QStringLiteral(", attempting to assign properties"),
            QStringLiteral("putting samAccountName as ") + account,
            QStringLiteral("putting groupType as ") + scope,
            QStringLiteral("setting description = DEZ distribution list"),
            QStringLiteral("calling SetInfo")};
}

QStringList createdAndCommitted(const QString& name) {
    return createdUpToCommit(name, QStringLiteral("NewTeam"), QStringLiteral("Global")) +
           QStringList{QStringLiteral("SetInfo on properties  returned successfully"),
                       QStringLiteral("attempting to mail-enable ") + name};
}

QStringList created(const QString& name) {
    return createdAndCommitted(name) +
           QStringList{QStringLiteral("SetInfo on MailEnable returned successfully")};
}

QStringList aliceAdded(const QString& name) {
    return {QStringLiteral("Adding ") + domain::kAliceMail + QStringLiteral(" to ") + name,
            QStringLiteral("retrieved user object with ADsPath ") + domain::kAlicePath,
            QStringLiteral("attempting to add ") + domain::kAlicePath + QStringLiteral(" to group"),
            QStringLiteral("Success adding ") + domain::kAliceMail + QStringLiteral(" to ") + name};
}

QStringList existingSalesTeam(bool account, const QString& scope, bool description) {
    QStringList lines{QStringLiteral("opened ") + domain::kContainer,
                      QStringLiteral("found existing group Sales Team")};
    if (account) lines << QStringLiteral("found samAccountName=prov.sales");
    lines << QStringLiteral("found groupType=") + scope;
    if (description) lines << QStringLiteral("found description=DEZ distribution list");
    return lines;
}

QStringList aliceFound(const QString& name) {
    return {
        QStringLiteral("Adding ") + domain::kAliceMail + QStringLiteral(" to ") + name,
        QStringLiteral("Found ") + domain::kAliceMail + QStringLiteral(" as member of ") + name};
}

struct Outcome {
    const char* situation;
    QString groupName;
    bool addUser;
    bool universal;  // Universal selected instead of Global
    std::vector<std::pair<QString, Failure>> faults;
    QStringList lines;  // after the separator and "attempting to open"
};

TEST(CreateADGroup, LogsEachOutcomeWordForWord) {
    const QString newTeam = QStringLiteral("New Team");
    const QString sales = QStringLiteral("Sales Team");
    const std::vector<Outcome> outcomes = {
        {"the container cannot be bound",
         newTeam,
         true,
         false,
         {{"bindContainer", kUnbound}},
         {QStringLiteral("GetObject dom error:80072030 There is no such object on the server.")}},
        {"new group, Add User not checked", newTeam, false, false, {}, created(newTeam)},
        {"new group, Add User checked, not yet a member",
         newTeam,
         true,
         false,
         {},
         created(newTeam) + aliceAdded(newTeam)},
        {"creation refused",
         newTeam,
         true,
         false,
         {{"create", kRefused}},
         {QStringLiteral("opened ") + domain::kContainer,
          newTeam + QStringLiteral(" not found, attempting to create it"),
          QStringLiteral("Error creating New Team:80072035 The server is unwilling to process the "
                         "request.")}},
        {"first commit fails",
         newTeam,
         true,
         false,
         {{"setInfo#1", kRefused}},
         createdUpToCommit(newTeam, QStringLiteral("NewTeam"), QStringLiteral("Global")) +
             QStringList{QStringLiteral("error calling SetInfo: 80072035 The server is unwilling "
                                        "to process the request.")}},
        {"mail-enabling fails",
         newTeam,
         true,
         false,
         {{"mailEnable", kRefused}},
         createdAndCommitted(newTeam) +
             QStringList{QStringLiteral("error calling SetInfo after MailEnable: 80072035 The "
                                        "server is unwilling to process the request.")}},
        {"second commit fails",
         newTeam,
         true,
         false,
         {{"setInfo#2", kBusy}},
         createdAndCommitted(newTeam) +
             QStringList{QStringLiteral("error calling SetInfo after MailEnable: 8007200E The "
                                        "directory service is busy.")}},
        {"both mail-enabling and second commit fail: the later failure",
         newTeam,
         true,
         false,
         {{"mailEnable", kRefused}, {"setInfo#2", kBusy}},
         createdAndCommitted(newTeam) +
             QStringList{QStringLiteral("error calling SetInfo after MailEnable: 8007200E The "
                                        "directory service is busy.")}},
        {"attribute and description writes fail: seen only through the commit",
         newTeam,
         false,
         false,
         {{"setDescription", kRefused}, {"put:samAccountName", kRefused}},
         created(newTeam)},
        {"group binding fails: counts as missing, the commit finds it",
         sales,
         true,
         false,
         {{"bindGroup", kBusy}},
         QStringList{QStringLiteral("opened ") + domain::kContainer,
                     sales + QStringLiteral(" not found, attempting to create it"),
                     QStringLiteral("created Sales Team, attempting to assign properties"),
                     QStringLiteral("putting samAccountName as SalesTeam"),
                     QStringLiteral("putting groupType as Global"),
                     QStringLiteral("setting description = DEZ distribution list"),
                     QStringLiteral("calling SetInfo"),
                     QStringLiteral("error calling SetInfo: 80071392 *")}},
        {"existing group, Add User checked, already a member",
         sales,
         true,
         false,
         {},
         existingSalesTeam(true, QStringLiteral("Global"), true) + aliceFound(sales)},
        {"existing group, account name unreadable",
         sales,
         true,
         false,
         {{"get:samAccountName", kRefused}},
         existingSalesTeam(false, QStringLiteral("Global"), true) + aliceFound(sales)},
        {"existing group, group type unreadable: the selected scope",
         sales,
         true,
         true,
         {{"get:groupType", kRefused}},
         existingSalesTeam(true, QStringLiteral("Universal"), true) + aliceFound(sales)},
        {"existing group, description unreadable: the member step still runs",
         sales,
         true,
         false,
         {{"description", kRefused}},
         existingSalesTeam(true, QStringLiteral("Global"), false) + aliceFound(sales)},
        {"existing group, membership test fails: the add finds the member",
         sales,
         true,
         false,
         {{"isMember", kRefused}},
         existingSalesTeam(true, QStringLiteral("Global"), true) +
             QStringList{
                 QStringLiteral("Adding ") + domain::kAliceMail + QStringLiteral(" to ") + sales,
                 QStringLiteral("retrieved user object with ADsPath ") + domain::kAlicePath,
                 QStringLiteral("attempting to add ") + domain::kAlicePath +
                     QStringLiteral(" to group"),
                 QStringLiteral("objGroup.Add failed:80071392 *")}},
    };

    for (const Outcome& outcome : outcomes) {
        SCOPED_TRACE(outcome.situation);
        Request request;
        request.controls().global = !outcome.universal;
        request.controls().universal = outcome.universal;
        for (const auto& [rule, failure] : outcome.faults) request.faulty().failOn(rule, failure);
        expectLines(request.run(outcome.groupName, outcome.addUser), opening() + outcome.lines);
    }
}

TEST(CreateADGroup, CreatesAMailEnabledGroupWithTheMemberAndFindsItTheSecondTime) {
    Request request;
    const QString name = QStringLiteral("New Team");
    expectLines(request.run(name, true), opening() + created(name) + aliceAdded(name));
    expectLines(request.run(name, true),
                opening() +
                    QStringList{QStringLiteral("opened ") + domain::kContainer,
                                QStringLiteral("found existing group New Team"),
                                QStringLiteral("found samAccountName=NewTeam"),
                                QStringLiteral("found groupType=Global"),
                                QStringLiteral("found description=DEZ distribution list")} +
                    aliceFound(name));
    EXPECT_TRUE(request.mailEnabledWithAlice(
        QStringLiteral("LDAP://CN=New Team,OU=Provisioning,DC=example,DC=com")));
}

TEST(CreateADGroup, AccountNameDropsTheBlanksWhileTheRelativeNameKeepsThem) {
    Request request;
    const QStringList lines = request.run(QStringLiteral("Sales East"), false);
    EXPECT_TRUE(lines.contains(QStringLiteral("putting samAccountName as SalesEast")));
    EXPECT_TRUE(request.faulty().calls().contains(QStringLiteral("create(group,CN=Sales East)")));
    auto group = request.directory().bindGroup(
        QStringLiteral("LDAP://CN=Sales East,OU=Provisioning,DC=example,DC=com"));
    ASSERT_TRUE(group);
    EXPECT_EQ((*group)->get(QStringLiteral("sAMAccountName")), QStringLiteral("SalesEast"));
}

TEST(CreateADGroup, WritesTheSelectedScope) {
    struct Case {
        bool global, universal;
        QString text;
        qint32 value;
    };
    for (const Case& scope : {Case{true, false, QStringLiteral("Global"), 2},
                              Case{true, true, QStringLiteral("Global"), 2},
                              Case{false, true, QStringLiteral("Universal"), 8},
                              Case{false, false, QStringLiteral("Domain Local"), 4}}) {
        SCOPED_TRACE(scope.text.toStdString());
        Request request;
        request.controls().global = scope.global;
        request.controls().universal = scope.universal;
        const QStringList lines = request.run(QStringLiteral("Scoped"), false);
        EXPECT_TRUE(lines.contains(QStringLiteral("putting groupType as ") + scope.text));
        auto group = request.directory().bindGroup(
            QStringLiteral("LDAP://CN=Scoped,OU=Provisioning,DC=example,DC=com"));
        ASSERT_TRUE(group);
        EXPECT_EQ((*group)->getInteger(QStringLiteral("groupType")), scope.value);
    }
}

TEST(CreateADGroup, NamesTheScopeOfAnExistingGroupFromItsScopeBits) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("-2147483646"), QStringLiteral("Global")},
        {QStringLiteral("-2147483640"), QStringLiteral("Universal")},
        {QStringLiteral("-2147483644"), QStringLiteral("Domain Local")},
        {QStringLiteral("4"), QStringLiteral("Domain Local")},
        {QStringLiteral("10"), QStringLiteral("Global")},     // bits 2 and 8
        {QStringLiteral("12"), QStringLiteral("Universal")},  // bits 4 and 8
        {QStringLiteral("16"), QStringLiteral("Unknown")},
        {QStringLiteral("-2147483648"), QStringLiteral("Unknown")},  // security flag alone
    };
    for (const auto& [groupType, scope] : cases) {
        SCOPED_TRACE(groupType.toStdString());
        Request request;
        request.faulty().answerGet(QStringLiteral("get:groupType"), {groupType});
        const QStringList lines = request.run(QStringLiteral("Sales Team"), false);
        EXPECT_TRUE(lines.contains(QStringLiteral("found groupType=") + scope))
            << lines.join(u'\n').toStdString();
    }
}

TEST(CreateADGroup, AddsTheMemberToAGroupWithoutDescription) {
    Request request;
    const QString name = QStringLiteral("Plain Group");
    expectLines(request.run(name, true),
                opening() +
                    QStringList{QStringLiteral("opened ") + domain::kContainer,
                                QStringLiteral("found existing group Plain Group"),
                                QStringLiteral("found samAccountName=prov.plain"),
                                QStringLiteral("found groupType=Global")} +
                    aliceAdded(name));
    auto group = request.directory().bindGroup(domain::kPlainGroupPath);
    ASSERT_TRUE(group);
    EXPECT_EQ((*group)->isMember(domain::kAlicePath), true);
}

TEST(CreateADGroup, EmptyMemberPathIsTriedAndFailsWithoutSuccessLine) {
    Request request;
    request.controls().addUser = true;
    request.controls().email = QStringLiteral("nobody@provisioning.example");
    const QStringList lines = request.run(
        QStringLiteral("Sales Team"), MemberPathList(QStringList{QString()}), domain::kContainer);
    expectLines(lines.mid(7), {QStringLiteral("Adding nobody@provisioning.example to Sales Team"),
                               QStringLiteral("GetObject(LDAP://cn=,) failed:*")});
    EXPECT_TRUE(
        request.faulty().calls().contains(QStringLiteral("isMember(LDAP://cn=,cn=Users,)")));
}

TEST(CreateADGroup, NameIsAValueNeverAPartOfThePath) {
    Request request;
    // Unescaped, this name would bind CN=Domain Admins in OU=Provisioning and add Alice to it.
    const QString crafted = QStringLiteral("Domain Admins,OU=Provisioning");
    const QStringList lines = request.run(crafted, true, domain::kDomain);
    expectLines(
        lines,
        {kSeparator, QStringLiteral("attempting to open ") + domain::kDomain,
         QStringLiteral("opened ") + domain::kDomain,
         crafted + QStringLiteral(" not found, attempting to create it"),
         QStringLiteral("created ") + crafted + QStringLiteral(", attempting to assign properties"),
         QStringLiteral("putting samAccountName as DomainAdmins,OU=Provisioning"),
         QStringLiteral("putting groupType as Global"),
         QStringLiteral("setting description = DEZ distribution list"),
         QStringLiteral("calling SetInfo"), QStringLiteral("error calling SetInfo: 8007202F *")});
    const QStringList calls = request.faulty().calls();
    EXPECT_TRUE(calls.contains(
        QStringLiteral("bindGroup(LDAP://cn=Domain Admins\\,OU=Provisioning,DC=example,DC=com)")));
    EXPECT_TRUE(calls.contains(QStringLiteral("create(group,CN=Domain Admins\\,OU=Provisioning)")));

    // "/" would end a server name in the path; the directory refuses it in the account name.
    request.run(QStringLiteral("R&D/Labs"), false);
    EXPECT_TRUE(request.faulty().calls().contains(
        QStringLiteral("bindGroup(LDAP://cn=R&D\\/Labs,OU=Provisioning,DC=example,DC=com)")));
    auto admins = request.directory().bindGroup(domain::kDomainAdminsPath);
    ASSERT_TRUE(admins);
    EXPECT_EQ((*admins)->isMember(domain::kAlicePath), false);
}

TEST(CreateADGroup, NamesThatNeedEscapingAreCreatedAndFoundAgain) {
    for (const QString& name : {QStringLiteral("#Ops"), QStringLiteral(" Ops Desk ")}) {
        SCOPED_TRACE(name.toStdString());
        Request request;
        const QStringList first = request.run(name, false);
        EXPECT_TRUE(first.contains(QStringLiteral("SetInfo on MailEnable returned successfully")))
            << first.join(u'\n').toStdString();
        const QStringList second = request.run(name, false);
        EXPECT_TRUE(second.contains(QStringLiteral("found existing group ") + name))
            << second.join(u'\n').toStdString();
    }
}

}  // namespace
}  // namespace vorlane
