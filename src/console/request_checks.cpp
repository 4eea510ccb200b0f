#include "console/request_checks.h"

namespace vorlane {

std::optional<EntryProblem> firstEntryProblem(const RequestEntries& entries) {
    if (entries.containerPath.isEmpty()) {
        return EntryProblem{QStringLiteral("Enter the full container path"),
                            RequestField::ContainerPath};
    }
    if (entries.groupName.isEmpty()) {
        return EntryProblem{QStringLiteral("Enter the group name"), RequestField::GroupName};
    }
    if (!entries.addUser) return std::nullopt;
    if (entries.email.isEmpty()) {
        return EntryProblem{QStringLiteral("Enter the user's SMTP address!"), RequestField::Email};
    }
    // Only presence counts: neither the order nor the position of "@" and "." is examined.
    if (!entries.email.contains(QLatin1Char('@')) || !entries.email.contains(QLatin1Char('.'))) {
        return EntryProblem{QStringLiteral("SMTP address is not valid!"), RequestField::Email};
    }
    return std::nullopt;
}

MemberPathList buildMemberPaths(const RequestEntries& entries, ConsoleProcedures& procedures) {
    if (!entries.addUser) return std::nullopt;
    return QStringList{procedures.getADsPathFromSMTP(entries.email)};
}

void handOnRequest(const RequestEntries& entries, ConsoleProcedures& procedures) {
    const MemberPathList memberPaths = buildMemberPaths(entries, procedures);
    procedures.createADGroup(entries.groupName, memberPaths, entries.containerPath);
}

}  // namespace vorlane
