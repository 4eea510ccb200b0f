#include "console/membership.h"

#include "common/activity_log.h"
#include "common/directory.h"

namespace vorlane {

namespace {
const QString kUsersSeparator = QStringLiteral(",cn=Users,");
const QString kCommaSeparator = QStringLiteral(",");
}  // namespace

QString userEntryPath(const QString& userName, const QString& domainDN, const QString& separator) {
    if (!userName.isEmpty() &&
        (domainDN.isEmpty() || userName.contains(domainDN, Qt::CaseInsensitive))) {
        return userName;
    }
    return QStringLiteral("LDAP://cn=") + userName + separator + domainDN;
}

AutomationBool findUserInGroup(const QString& userName, const QString& domainDN,
                               DirectoryGroup& group) {
    const auto member = group.isMember(userEntryPath(userName, domainDN, kUsersSeparator));
    return member && *member ? kAutomationTrue : kAutomationFalse;
}

AutomationBool addUserToGroup(Directory& directory, ActivityLog& log, const QString& userName,
                              DirectoryGroup& group, const QString& domainDN) {
    const QString path = userEntryPath(userName, domainDN, kCommaSeparator);
    const auto user = directory.bindObject(path);
    if (!user || !*user) {
        const Failure failure = user ? failures::objectUnbound() : user.error();
        log.writeLog(QStringLiteral("GetObject(") + path + QStringLiteral(") failed:") +
                     failureSuffix(failure));
        return kAutomationFalse;
    }
    log.writeLog(QStringLiteral("retrieved user object with ADsPath ") + path);
    log.writeLog(QStringLiteral("attempting to add ") + userName + QStringLiteral(" to group"));

    const QString userPath = (*user)->adsPath();
    if (auto added = group.add(userPath); !added) {
        log.writeLog(QStringLiteral("objGroup.Add failed:") + failureSuffix(added.error()));
        return kAutomationFalse;
    }
    if (auto committed = group.setInfo(); !committed) {
        log.writeLog(QStringLiteral("objGroup.SetInfo err for ") + userPath + u':' +
                     failureSuffix(committed.error()));
        return kAutomationFalse;
    }
    return kAutomationTrue;
}

void removeUser(const QString& userName, DirectoryGroup& group, const QString& domainDN) {
    // A failure (the user is no member, or names nothing) has no visible effect.
    static_cast<void>(group.remove(userEntryPath(userName, domainDN, kUsersSeparator)));
}

}  // namespace vorlane
