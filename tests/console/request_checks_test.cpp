#include "console/request_checks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/recording_procedures.h"

namespace vorlane {
namespace {

const EntryProblem kContainerMissing{QStringLiteral("Enter the full container path"),
                                     RequestField::ContainerPath};
const EntryProblem kGroupMissing{QStringLiteral("Enter the group name"), RequestField::GroupName};
const EntryProblem kAddressMissing{QStringLiteral("Enter the user's SMTP address!"),
                                   RequestField::Email};
const EntryProblem kAddressInvalid{QStringLiteral("SMTP address is not valid!"),
                                   RequestField::Email};

struct CheckCase {
    std::string name;
    RequestEntries entries;
    std::optional<EntryProblem> expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class EntryChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EntryChecks, FirstFailedCheckDecides) {
    const auto problem = firstEntryProblem(GetParam().entries);
    ASSERT_EQ(problem.has_value(), GetParam().expected.has_value());
    if (problem) {
        EXPECT_EQ(problem->message, GetParam().expected->message);
        EXPECT_EQ(problem->field, GetParam().expected->field);
    }
}

const QString kDn = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kGroup = QStringLiteral("Sales Team");

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryChecks,
    ::testing::Values(
        // The order of the checks: the first failing one is the only one reported.
        CheckCase{"AllEmpty", {{}, {}, true, {}}, kContainerMissing},
        CheckCase{"ContainerEmptyBadAddress", {{}, kGroup, true, "x"}, kContainerMissing},
        CheckCase{"GroupEmpty", {kDn, {}, false, {}}, kGroupMissing},
        CheckCase{"GroupEmptyBadAddress", {kDn, {}, true, "x"}, kGroupMissing},
        CheckCase{"AddressEmpty", {kDn, kGroup, true, {}}, kAddressMissing},
        CheckCase{"AddressWithoutDot", {kDn, kGroup, true, "user@example"}, kAddressInvalid},
        CheckCase{"AddressWithoutAt", {kDn, kGroup, true, "user.example.com"}, kAddressInvalid},
        CheckCase{"AddressOfBlanks", {kDn, kGroup, true, "   "}, kAddressInvalid},
        // Without "Add User" the address is not looked at.
        CheckCase{"NoAddUserEmptyAddress", {kDn, kGroup, false, {}}, std::nullopt},
        CheckCase{"NoAddUserBadAddress", {kDn, kGroup, false, "nonsense"}, std::nullopt},
        // Nothing is trimmed, and neither order nor position of "@" and "." counts.
        CheckCase{"BlanksOnly", {" ", "  ", true, " @ . "}, std::nullopt},
        CheckCase{"DotBeforeAt", {kDn, kGroup, true, ".@"}, std::nullopt},
        CheckCase{"AtThenDot", {kDn, kGroup, true, "@."}, std::nullopt},
        CheckCase{"DotInUserPart", {kDn, kGroup, true, "first.last@host"}, std::nullopt},
        CheckCase{"Plain", {kDn, kGroup, true, "user@example.com"}, std::nullopt}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(MemberPaths, WithoutAddUserThereIsNoListAndNoLookup) {
    testing::RecordingProcedures procedures;
    procedures.lookupResult = QStringLiteral("LDAP://CN=Someone,DC=example,DC=com");

    const MemberPathList paths = buildMemberPaths({kDn, kGroup, false, {}}, procedures);

    EXPECT_FALSE(paths.has_value());
    EXPECT_TRUE(procedures.calls.isEmpty());
}

TEST(MemberPaths, WithAddUserHoldTheLookupResultAsItCame) {
    for (const QString& found :
         {QStringLiteral("LDAP://CN=Ann Lee,OU=Staff,DC=example,DC=com"), QString()}) {
        SCOPED_TRACE(found.toStdString());
        testing::RecordingProcedures procedures;
        procedures.lookupResult = found;

        const MemberPathList paths =
            buildMemberPaths({kDn, kGroup, true, QStringLiteral(" ann@example.com ")}, procedures);

        ASSERT_TRUE(paths.has_value());
        EXPECT_EQ(*paths, QStringList{found});  // also one (empty) element when nothing was found
        EXPECT_EQ(procedures.lookups, QStringList{QStringLiteral(" ann@example.com ")});
    }
}

TEST(HandOnRequest, LooksUpBeforeCreatingAndPassesTheEntriesInOrder) {
    testing::RecordingProcedures procedures;
    procedures.lookupResult = QStringLiteral("LDAP://CN=Ann,DC=example,DC=com");

    handOnRequest({kDn, kGroup, true, QStringLiteral("ann@example.com")}, procedures);

    EXPECT_EQ(procedures.calls,
              (QStringList{QStringLiteral("getADsPathFromSMTP"), QStringLiteral("createADGroup")}));
    ASSERT_EQ(procedures.creates.size(), 1u);
    EXPECT_EQ(procedures.creates[0].groupName, kGroup);
    EXPECT_EQ(procedures.creates[0].containerPath, kDn);
    EXPECT_EQ(procedures.creates[0].memberPaths, QStringList{procedures.lookupResult});
}

TEST(HandOnRequest, WithoutAddUserCreatesWithNoList) {
    testing::RecordingProcedures procedures;

    handOnRequest({kDn, kGroup, false, {}}, procedures);

    EXPECT_EQ(procedures.calls, QStringList{QStringLiteral("createADGroup")});
    ASSERT_EQ(procedures.creates.size(), 1u);
    EXPECT_FALSE(procedures.creates[0].memberPaths.has_value());
}

}  // namespace
}  // namespace vorlane
