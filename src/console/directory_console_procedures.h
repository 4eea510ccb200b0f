#pragma once

#include <QString>
#include <memory>

#include "console/console_procedures.h"
#include "console/membership.h"

namespace vorlane {

class ActivityLog;
class ConsoleControls;
class Directory;
class DirectoryGroup;

// The console's directory procedures on a directory, reporting through the activity log and
// reading the window's controls when a procedure needs them. Besides the two that "Create
// Group" uses, it carries the window's other public operations.
class DirectoryConsoleProcedures : public ConsoleProcedures {
  public:
    DirectoryConsoleProcedures(Directory& directory, ActivityLog& log, ConsoleControls& controls);
    // The window that shows the controls is made with its procedures; it is given to them once
    // it exists (like the activity log's result box). Until then "Create Group" reads no
    // scope, no "Add User" and no address.
    DirectoryConsoleProcedures(Directory& directory, ActivityLog& log);
    void setControls(ConsoleControls& controls) { controls_ = &controls; }

    QString getADsPathFromSMTP(const QString& smtp) override;
    void createADGroup(const QString& groupName, const MemberPathList& memberPaths,
                       const QString& containerPath) override;

    AutomationBool findUserInGroup(const QString& userName, const QString& domainDN,
                                   DirectoryGroup& group);
    AutomationBool addUserToGroup(const QString& userName, DirectoryGroup& group,
                                  const QString& domainDN);
    void removeUser(const QString& userName, DirectoryGroup& group, const QString& domainDN);
    std::unique_ptr<DirectoryGroup> createDL(const QString& containerPath, const QString& groupName,
                                             const QString& samAccountName,
                                             const QString& groupTypeKeyword, bool security);

  private:
    Directory& directory_;
    ActivityLog& log_;
    ConsoleControls* controls_ = nullptr;
};

}  // namespace vorlane
