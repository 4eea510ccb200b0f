#include "console/group_provisioning.h"

#include <memory>

#include "common/activity_log.h"
#include "common/directory.h"
#include "console/console_controls.h"
#include "common/ldap_escaping.h"
#include "console/membership.h"

namespace vorlane {

namespace {

constexpr qint32 kGlobal = 0x2;
constexpr qint32 kDomainLocal = 0x4;
constexpr qint32 kUniversal = 0x8;
const QString kDescription = QStringLiteral("DEZ distribution list");

// The new group, or why there is none: a created object that is not a group did not work out.
Result<std::unique_ptr<DirectoryGroup>> createGroup(DirectoryContainer& container,
                                                    const QString& groupName) {
    auto created = container.create(QStringLiteral("group"),
                                    QStringLiteral("CN=") + escapeRdnValue(groupName));
    if (!created) return fail(created.error());
    if (!*created) return fail(failures::objectUnbound());
    return viewAs<DirectoryGroup>(std::move(*created));
}

// Gives the new group its properties, commits it, mail-enables it and commits again.
// False when the group did not come out mail-enabled; the failure is logged.
bool provisionNewGroup(DirectoryGroup& group, ActivityLog& log, const QString& groupName,
                       const GroupScope& scope) {
    log.writeLog(QStringLiteral("created ") + groupName +
                 QStringLiteral(", attempting to assign properties"));
    const QString accountName = accountNameOf(groupName);
    log.writeLog(QStringLiteral("putting samAccountName as ") + accountName);
    // A value the directory will not take shows through the commit that follows.
    static_cast<void>(group.put(QStringLiteral("samAccountName"), accountName));
    log.writeLog(QStringLiteral("putting groupType as ") + scope.text);
    static_cast<void>(group.putInteger(QStringLiteral("groupType"), scope.groupType));
    log.writeLog(QStringLiteral("setting description = ") + kDescription);
    static_cast<void>(group.setDescription(kDescription));
    log.writeLog(QStringLiteral("calling SetInfo"));

    if (auto committed = group.setInfo(); !committed) {
        log.writeLog(QStringLiteral("error calling SetInfo: ") + failureSuffix(committed.error()));
        return false;
    }
    log.writeLog(QStringLiteral("SetInfo on properties  returned successfully"));
    log.writeLog(QStringLiteral("attempting to mail-enable ") + groupName);

    const auto enabled = group.mailEnable();
    const auto committed = group.setInfo();
    if (!enabled || !committed) {
        // The later failure is the one reported, as both steps are always attempted.
        const Failure& failure = committed ? enabled.error() : committed.error();
        log.writeLog(QStringLiteral("error calling SetInfo after MailEnable: ") +
                     failureSuffix(failure));
        return false;
    }
    log.writeLog(QStringLiteral("SetInfo on MailEnable returned successfully"));
    return true;
}

// Reports the account name, scope and description of a group that is already there; a value
// that cannot be read gives no line (the scope falls back to the selected one).
void reportExistingGroup(const DirectoryGroup& group, ActivityLog& log, const QString& groupName,
                         const GroupScope& scope) {
    log.writeLog(QStringLiteral("found existing group ") + groupName);
    if (auto account = group.get(QStringLiteral("samAccountName"))) {
        log.writeLog(QStringLiteral("found samAccountName=") + *account);
    }
    const auto groupType = group.getInteger(QStringLiteral("groupType"));
    log.writeLog(QStringLiteral("found groupType=") +
                 scopeTextOfGroupType(groupType ? *groupType : scope.groupType));
    if (auto description = group.description()) {
        log.writeLog(QStringLiteral("found description=") + *description);
    }
}

void addMembers(Directory& directory, ActivityLog& log, const ConsoleControls& controls,
                DirectoryGroup& group, const QString& groupName, const QStringList& memberPaths) {
    const QString noDomain;
    for (const QString& memberPath : memberPaths) {
        log.writeLog(QStringLiteral("Adding ") + controls.emailText() + QStringLiteral(" to ") +
                     groupName);
        if (findUserInGroup(memberPath, noDomain, group) != kAutomationFalse) {
            log.writeLog(QStringLiteral("Found ") + controls.emailText() +
                         QStringLiteral(" as member of ") + groupName);
            continue;
        }
        if (addUserToGroup(directory, log, memberPath, group, noDomain) == kAutomationTrue) {
            log.writeLog(QStringLiteral("Success adding ") + controls.emailText() +
                         QStringLiteral(" to ") + groupName);
        }
    }
}

}  // namespace

GroupScope selectedScope(const ConsoleControls& controls) {
    if (controls.globalSelected()) return {QStringLiteral("Global"), kGlobal};
    if (controls.universalSelected()) return {QStringLiteral("Universal"), kUniversal};
    return {QStringLiteral("Domain Local"), kDomainLocal};
}

QString scopeTextOfGroupType(qint32 groupType) {
    if (groupType & kGlobal) return QStringLiteral("Global");
    if (groupType & kUniversal) return QStringLiteral("Universal");
    if (groupType & kDomainLocal) return QStringLiteral("Domain Local");
    return QStringLiteral("Unknown");
}

QString accountNameOf(const QString& groupName) {
    QString accountName = groupName;
    return accountName.remove(u' ');
}

void createADGroup(Directory& directory, ActivityLog& log, const ConsoleControls& controls,
                   const QString& groupName, const MemberPathList& memberPaths,
                   const QString& containerPath) {
    const GroupScope scope = selectedScope(controls);
    log.writeLog(QString(20, u'-'));
    log.writeLog(QStringLiteral("attempting to open ") + containerPath);
    auto container = directory.bindContainer(QStringLiteral("LDAP://") + containerPath);
    if (!container || !*container) {
        const Failure failure = container ? failures::objectUnbound() : container.error();
        log.writeLog(QStringLiteral("GetObject dom error:") + failureSuffix(failure));
        return;
    }
    log.writeLog(QStringLiteral("opened ") + containerPath);

    // The name is a value inside the path, never a part of its structure.
    const QString groupPath = QStringLiteral("LDAP://cn=") +
                              escapeForAdsPath(escapeRdnValue(groupName)) + u',' + containerPath;
    std::unique_ptr<DirectoryGroup> group;
    if (auto bound = directory.bindGroup(groupPath); bound && *bound) {
        group = std::move(*bound);
        reportExistingGroup(*group, log, groupName, scope);
    } else {
        log.writeLog(groupName + QStringLiteral(" not found, attempting to create it"));
        auto created = createGroup(**container, groupName);
        if (!created) {
            log.writeLog(QStringLiteral("Error creating ") + groupName + u':' +
                         failureSuffix(created.error()));
            return;
        }
        group = std::move(*created);
        if (!provisionNewGroup(*group, log, groupName, scope)) return;
    }

    if (controls.addUserChecked() && memberPaths) {
        addMembers(directory, log, controls, *group, groupName, *memberPaths);
    }
}

}  // namespace vorlane
