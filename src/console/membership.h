#pragma once

#include <QString>

namespace vorlane {

class ActivityLog;
class Directory;
class DirectoryGroup;

// The window's public operations answer in the automation convention: true -1, false 0.
using AutomationBool = qint16;
inline constexpr AutomationBool kAutomationTrue = -1;
inline constexpr AutomationBool kAutomationFalse = 0;

// The path of a user's entry: userName itself when it is not empty and contains domainDN
// (any letter case; an empty domainDN is in every name), else "LDAP://cn=" + userName +
// separator + domainDN.
QString userEntryPath(const QString& userName, const QString& domainDN, const QString& separator);

// Whether the group reports the user as a direct member; -1 yes, 0 no or when the group cannot
// answer. Logs nothing.
AutomationBool findUserInGroup(const QString& userName, const QString& domainDN,
                               DirectoryGroup& group);

// Binds the user, adds it to the group and commits the group. -1 only when the add and the
// commit both succeeded; each failure is logged as one line and gives 0.
AutomationBool addUserToGroup(Directory& directory, ActivityLog& log, const QString& userName,
                              DirectoryGroup& group, const QString& domainDN);

// Removes the user from the group (removal writes at once; no commit). Failures are ignored.
void removeUser(const QString& userName, DirectoryGroup& group, const QString& domainDN);

}  // namespace vorlane
