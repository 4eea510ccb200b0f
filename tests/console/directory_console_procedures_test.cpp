#include "console/directory_console_procedures.h"

#include <gtest/gtest.h>

#include "seeded_directory.h"
#include "support/fake_console_controls.h"
#include "support/log_capture.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
namespace domain = vorlane::testing::provisioning_domain;

// A "Create Group" request as the console hands it on: the lookup, then the provisioning.
QStringList requestGroup(ConsoleProcedures& procedures, LogCapture& log,
                         const FakeConsoleControls& controls, const QString& groupName) {
    const qsizetype before = log.boxLines().size();
    MemberPathList members;
    if (controls.addUser) members = QStringList{procedures.getADsPathFromSMTP(controls.email)};
    procedures.createADGroup(groupName, members, domain::kContainer);
    return log.boxLines().mid(before);
}

TEST(DirectoryConsoleProcedures, CreatesTheGroupWithTheLookedUpMemberThenFindsBoth) {
    SeededDirectory seeded;
    LogCapture log;
    FakeConsoleControls controls;
    controls.global = false;
    controls.universal = true;
    controls.addUser = true;
    controls.email = domain::kAliceMail;
    DirectoryConsoleProcedures procedures(seeded.directory(), log.log(), controls);

    const QString opening[] = {QString(20, u'-'),
                               QStringLiteral("attempting to open ") + domain::kContainer,
                               QStringLiteral("opened ") + domain::kContainer};
    const QString adding =
        QStringLiteral("Adding ") + domain::kAliceMail + QStringLiteral(" to Mail Team");
    const QStringList first{
        opening[0],
        opening[1],
        opening[2],
        QStringLiteral("Mail Team not found, attempting to create it"),
        QStringLiteral("created Mail Team, attempting to assign properties"),
        QStringLiteral("putting samAccountName as MailTeam"),
        QStringLiteral("putting groupType as Universal"),
        QStringLiteral("setting description = DEZ distribution list"),
        QStringLiteral("calling SetInfo"),
        QStringLiteral("SetInfo on properties  returned successfully"),
        QStringLiteral("attempting to mail-enable Mail Team"),
        QStringLiteral("SetInfo on MailEnable returned successfully"),
        adding,
        QStringLiteral("retrieved user object with ADsPath ") + domain::kAlicePath,
        QStringLiteral("attempting to add ") + domain::kAlicePath + QStringLiteral(" to group"),
        QStringLiteral("Success adding ") + domain::kAliceMail + QStringLiteral(" to Mail Team")};
    const QStringList second{
        opening[0],
        opening[1],
        opening[2],
        QStringLiteral("found existing group Mail Team"),
        QStringLiteral("found samAccountName=MailTeam"),
        QStringLiteral("found groupType=Universal"),
        QStringLiteral("found description=DEZ distribution list"),
        adding,
        QStringLiteral("Found ") + domain::kAliceMail + QStringLiteral(" as member of Mail Team")};

    EXPECT_EQ(requestGroup(procedures, log, controls, QStringLiteral("Mail Team")), first);
    EXPECT_EQ(requestGroup(procedures, log, controls, QStringLiteral("Mail Team")), second);
    EXPECT_EQ(log.fileLines(), first + second);

    auto group = seeded.directory().bindGroup(
        QStringLiteral("LDAP://CN=Mail Team,OU=Provisioning,DC=example,DC=com"));
    ASSERT_TRUE(group);
    EXPECT_EQ(procedures.findUserInGroup(domain::kAlicePath, QString(), **group), kAutomationTrue);
    EXPECT_TRUE((*group)->get(QStringLiteral("mail")));
    EXPECT_EQ((*group)->getInteger(QStringLiteral("groupType")), 8);
}

TEST(DirectoryConsoleProcedures, CarriesTheWindowsOtherPublicOperations) {
    SeededDirectory seeded;
    LogCapture log;
    FakeConsoleControls controls;
    DirectoryConsoleProcedures procedures(seeded.directory(), log.log(), controls);

    auto group = procedures.createDL(QStringLiteral("LDAP://") + domain::kContainer,
                                     QStringLiteral("Public DL"), QStringLiteral("public.dl"),
                                     QStringLiteral("Global"), false);
    ASSERT_TRUE(group);
    EXPECT_EQ(procedures.addUserToGroup(domain::kAlicePath, *group, QString()), kAutomationTrue);
    EXPECT_EQ(procedures.findUserInGroup(domain::kAlicePath, QString(), *group), kAutomationTrue);
    procedures.removeUser(domain::kAlicePath, *group, QString());
    EXPECT_EQ(procedures.findUserInGroup(domain::kAlicePath, QString(), *group), kAutomationFalse);
    EXPECT_EQ(log.boxLines().size(), 2);  // the add's two lines
}

}  // namespace
}  // namespace vorlane
