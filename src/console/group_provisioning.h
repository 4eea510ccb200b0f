#pragma once

#include <QString>

#include "console/console_procedures.h"

namespace vorlane {

class ActivityLog;
class ConsoleControls;
class Directory;

// The scope that the console's option buttons select: its text and its group-type flag.
struct GroupScope {
    QString text;  // "Global", "Universal", "Domain Local"
    qint32 groupType = 0;
};
GroupScope selectedScope(const ConsoleControls& controls);

// The scope named by an existing group's type, from its scope bits in the order 2, 8, 4
// ("Unknown" when none is set); other bits, the security flag among them, are ignored.
QString scopeTextOfGroupType(qint32 groupType);

// The account name of a new group: the group name without its blanks.
QString accountNameOf(const QString& groupName);

// "Create Group": opens the container, creates and mail-enables the group there or reports
// the one already there, then makes each member path a member when "Add User" is checked.
// Every step and failure is one line of the activity log; nothing is returned.
void createADGroup(Directory& directory, ActivityLog& log, const ConsoleControls& controls,
                   const QString& groupName, const MemberPathList& memberPaths,
                   const QString& containerPath);

}  // namespace vorlane
