#pragma once

#include <QString>
#include <optional>

#include "console/console_procedures.h"

namespace vorlane {

// The console fields that a rejected request sends the operator back to.
enum class RequestField { ContainerPath, GroupName, Email };

// What the operator entered for "Create Group", exactly as typed (nothing is trimmed).
struct RequestEntries {
    QString containerPath;
    QString groupName;
    bool addUser = false;
    QString email;
};

// Why a request cannot go on: the message for the operator and the field to fix.
struct EntryProblem {
    QString message;
    RequestField field = RequestField::ContainerPath;

    friend bool operator==(const EntryProblem&, const EntryProblem&) = default;
};

// The first failed check of the entries, tested in this order: container path empty, group
// name empty, and, only with "Add User", address empty, address lacking "@" or ".".
// std::nullopt when the request may be handed on.
std::optional<EntryProblem> firstEntryProblem(const RequestEntries& entries);

// The member path list: with "Add User", one element holding the lookup result for the
// address as it comes back (empty text included); without it, no list at all.
MemberPathList buildMemberPaths(const RequestEntries& entries, ConsoleProcedures& procedures);

// Hands checked entries on: the lookup (when asked for) runs before the group is created.
void handOnRequest(const RequestEntries& entries, ConsoleProcedures& procedures);

}  // namespace vorlane
