#include "console/distribution_list.h"

#include "common/directory.h"
#include "common/ldap_escaping.h"

namespace vorlane {

namespace {
constexpr quint32 kSecurityEnabled = 0x80000000u;
}

std::optional<qint32> groupTypeForKeyword(const QString& keyword, bool security) {
    const QString upper = keyword.toUpper();
    quint32 value = 0;
    if (upper == QStringLiteral("LOCAL") || upper == QStringLiteral("DOMAIN LOCAL")) {
        value = 4;
    } else if (upper == QStringLiteral("GLOBAL")) {
        value = 2;
    } else if (upper == QStringLiteral("UNIVERSAL")) {
        value = 8;
    } else {
        return std::nullopt;
    }
    if (security) value |= kSecurityEnabled;
    return static_cast<qint32>(value);
}

std::unique_ptr<DirectoryGroup> createDL(Directory& directory, const QString& containerPath,
                                         const QString& groupName, const QString& samAccountName,
                                         const QString& groupTypeKeyword, bool security) {
    const std::optional<qint32> groupType = groupTypeForKeyword(groupTypeKeyword, security);
    if (!groupType) return nullptr;

    std::unique_ptr<DirectoryGroup> group;
    if (auto container = directory.bindContainer(containerPath); container && *container) {
        auto created = (*container)
                           ->create(QStringLiteral("group"),
                                    QStringLiteral("cn=") + escapeRdnValue(groupName));
        if (created && *created) {
            if (auto view = viewAs<DirectoryGroup>(std::move(*created))) group = std::move(*view);
        }
    }
    if (!group) return nullptr;

    // Like the platform's steps, each is tried whatever came before; only the ones that decide
    // whether a mail-enabled group exists decide the result.
    static_cast<void>(group->put(QStringLiteral("sAMAccountName"), samAccountName));
    static_cast<void>(group->putInteger(QStringLiteral("groupType"), *groupType));
    const bool stored = group->setInfo().has_value();
    const bool enabled = group->mailEnable().has_value();
    const bool committed = group->setInfo().has_value();
    if (!stored || !enabled || !committed) return nullptr;
    return group;
}

}  // namespace vorlane
