#include "picker/tree_loading.h"

#include <array>

#include "common/activity_log.h"
#include "common/failure.h"
#include "picker/container_tree.h"
#include "picker/dn_helpers.h"

namespace vorlane {

namespace {

const QString kPlaceholderPrefix = QStringLiteral("dummy");

// Containers that the tree never shows, at any depth; compared exactly, letter case counting.
bool isSkipped(const QString& name) {
    static const std::array<QString, 6> skipped = {
        QStringLiteral("System"),
        QStringLiteral("Program Data"),
        QStringLiteral("ForeignSecurityPrincipals"),
        QStringLiteral("Microsoft Exchange System Objects"),
        QStringLiteral("Computers"),
        QStringLiteral("Domain Controllers"),
    };
    for (const QString& s : skipped) {
        if (name.compare(s, Qt::CaseSensitive) == 0) return true;
    }
    return false;
}

QString oneLevelQuery(const QString& parentKey) {
    return QStringLiteral("<LDAP://") + parentKey +
           QStringLiteral(
               ">;(|(objectClass=container)(objectClass=organizationalUnit));"
               "AdsPath;onelevel");
}

}  // namespace

bool isPlaceholderKey(const QString& key) {
    return key.startsWith(kPlaceholderPrefix, Qt::CaseSensitive);
}

ContainerTreeLoader::ContainerTreeLoader(Directory& directory, ActivityLog& log,
                                         ContainerTree& tree)
    : directory_(directory), log_(log), tree_(tree) {}

ContainerTreeLoader::~ContainerTreeLoader() {
    closeConnection();
}

void ContainerTreeLoader::openDirectoryConnection() {
    if (!connection_) connection_ = directory_.createQueryConnection();
    if (!connection_) return;
    (void)connection_->open(QStringLiteral("Active Directory Provider"));
    if (!command_) command_ = std::make_unique<QueryCommand>(*connection_);
}

void ContainerTreeLoader::addRootNode() {
    auto rootDse = directory_.bindObject(QStringLiteral("LDAP://rootDSE"));
    if (!rootDse || !*rootDse) {
        log_.writeLog(QStringLiteral("unable to retrieve rootDSE"));
        return;
    }
    const QString namingContext =
        (*rootDse)->get(QStringLiteral("defaultNamingContext")).value_or(QString());
    log_.writeLog(QStringLiteral("defaultNamingContext = ") + namingContext);

    auto domain = directory_.bindObject(QStringLiteral("LDAP://") + namingContext);
    if (!domain || !*domain) {
        log_.writeLog(QStringLiteral("unable to get domain object using GetObject(LDAP://") +
                      namingContext + u')');
        return;
    }

    // Logged before the node is added, and so also when adding it fails.
    log_.writeLog(QStringLiteral("added root node"));
    if (!tree_.addTopLevel(namingContext, DnToDottedName(namingContext),
                           QLatin1String(kDomainImage))) {
        return;
    }
    if (auto rootKey = tree_.find(namingContext)) loadChildContainers(*rootKey);
}

void ContainerTreeLoader::loadChildContainers(const QString& parentKey) {
    if (!connection_ || !connection_->isOpen() || !command_) return;

    const QString commandText = oneLevelQuery(parentKey);
    log_.writeLog(QStringLiteral("executing query with commandText=") + commandText);
    command_->setCommandText(commandText);
    auto executed = command_->execute();
    if (!executed) {
        log_.writeLog(QStringLiteral("error on execute:") + failureSuffix(executed.error()));
        return;
    }
    std::unique_ptr<RecordSet> records = std::move(*executed);
    if (!records) {
        log_.writeLog(QStringLiteral("query did not return recordset"));
        return;
    }

    // Without the parent in the tree the rows are still walked and logged, but nothing is added.
    const std::optional<QString> parent = tree_.find(parentKey);

    if (records->state() != 1) {
        log_.writeLog(QStringLiteral("recordset.State=") + QString::number(records->state()));
        return;
    }

    if (records->eof()) {
        log_.writeLog(QStringLiteral("query did not return any records"));
    } else {
        log_.writeLog(QStringLiteral("query returned ") + QString::number(records->recordCount()) +
                      QStringLiteral(" records"));
    }
    while (!records->eof()) {
        // A row whose path cannot be read is passed over rather than named by a stale value.
        if (auto adsPath = records->field(QStringLiteral("AdsPath"))) {
            const QString name = GetFirstRdnValue(*adsPath);
            if (isSkipped(name)) {
                log_.writeLog(QStringLiteral("skipping ") + *adsPath + QStringLiteral("; ") + name);
            } else {
                log_.writeLog(QStringLiteral("adding ") + name + QStringLiteral("; AdsPath=") +
                              *adsPath);
                const QString key = StripLdapPrefix(*adsPath);
                if (parent) {
                    if (auto index =
                            tree_.addChild(*parent, key, name, QLatin1String(kFolderImage))) {
                        tree_.addChild(key, kPlaceholderPrefix + QString::number(*index), QString(),
                                       QString());
                    }
                }
            }
        }
        // A record set that cannot move on would otherwise hold the walk forever.
        if (!records->moveNext()) break;
    }
    (void)records->close();
}

void ContainerTreeLoader::expand(const QString& key) {
    const std::optional<QString> firstChild = tree_.firstChildKey(key);
    if (!firstChild || !isPlaceholderKey(*firstChild)) return;
    tree_.remove(*firstChild);
    loadChildContainers(key);
}

void ContainerTreeLoader::loadInPlaceOfPlaceholder(const QString& key) {
    const std::optional<QString> firstChild = tree_.firstChildKey(key);
    if (firstChild && isPlaceholderKey(*firstChild)) tree_.remove(*firstChild);
    loadChildContainers(key);
}

void ContainerTreeLoader::closeConnection() {
    if (connection_) (void)connection_->close();
    command_.reset();
    connection_.reset();
}

}  // namespace vorlane
