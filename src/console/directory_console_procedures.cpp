#include "console/directory_console_procedures.h"

#include "common/directory.h"
#include "console/console_controls.h"
#include "console/distribution_list.h"
#include "console/group_provisioning.h"
#include "console/mailbox_lookup.h"

namespace vorlane {

DirectoryConsoleProcedures::DirectoryConsoleProcedures(Directory& directory, ActivityLog& log,
                                                       ConsoleControls& controls)
    : directory_(directory), log_(log), controls_(&controls) {}

DirectoryConsoleProcedures::DirectoryConsoleProcedures(Directory& directory, ActivityLog& log)
    : directory_(directory), log_(log) {}

namespace {
// What a console without its window shows: no scope option and no "Add User".
class NoControls : public ConsoleControls {
  public:
    bool globalSelected() const override { return false; }
    bool universalSelected() const override { return false; }
    bool addUserChecked() const override { return false; }
    QString emailText() const override { return {}; }
};
}  // namespace

QString DirectoryConsoleProcedures::getADsPathFromSMTP(const QString& smtp) {
    return vorlane::getADsPathFromSMTP(directory_, smtp);
}

void DirectoryConsoleProcedures::createADGroup(const QString& groupName,
                                               const MemberPathList& memberPaths,
                                               const QString& containerPath) {
    static const NoControls noControls;
    const ConsoleControls& controls =
        controls_ ? *controls_ : static_cast<const ConsoleControls&>(noControls);
    vorlane::createADGroup(directory_, log_, controls, groupName, memberPaths, containerPath);
}

AutomationBool DirectoryConsoleProcedures::findUserInGroup(const QString& userName,
                                                           const QString& domainDN,
                                                           DirectoryGroup& group) {
    return vorlane::findUserInGroup(userName, domainDN, group);
}

AutomationBool DirectoryConsoleProcedures::addUserToGroup(const QString& userName,
                                                          DirectoryGroup& group,
                                                          const QString& domainDN) {
    return vorlane::addUserToGroup(directory_, log_, userName, group, domainDN);
}

void DirectoryConsoleProcedures::removeUser(const QString& userName, DirectoryGroup& group,
                                            const QString& domainDN) {
    vorlane::removeUser(userName, group, domainDN);
}

std::unique_ptr<DirectoryGroup> DirectoryConsoleProcedures::createDL(
    const QString& containerPath, const QString& groupName, const QString& samAccountName,
    const QString& groupTypeKeyword, bool security) {
    return vorlane::createDL(directory_, containerPath, groupName, samAccountName, groupTypeKeyword,
                             security);
}

}  // namespace vorlane
