#include "console/mailbox_lookup.h"

#include <memory>

#include "common/directory.h"
#include "common/ldap_escaping.h"

namespace vorlane {

namespace {

// The search base: the ADsPath of the default domain, as the bound domain entry gives it.
Result<QString> defaultDomainPath(Directory& directory) {
    auto rootDse = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    if (!rootDse) return fail(rootDse.error());
    if (!*rootDse) return fail(failures::objectUnbound());
    auto namingContext = (*rootDse)->get(QStringLiteral("defaultNamingContext"));
    if (!namingContext) return fail(namingContext.error());
    auto domain = directory.bindObject(QStringLiteral("LDAP://") + *namingContext);
    if (!domain) return fail(domain.error());
    if (!*domain) return fail(failures::objectUnbound());
    return (*domain)->adsPath();
}

// The first row's distinguished name, or empty text.
QString firstEntryPath(QueryConnection& connection, Directory& directory, const QString& smtp) {
    QueryCommand command(connection);
    auto basePath = defaultDomainPath(directory);
    if (!basePath) return {};
    command.setCommandText(mailQueryText(*basePath, smtp));
    auto rows = command.execute();
    if (!rows || !*rows) return {};
    RecordSet& recordSet = **rows;
    QString path;
    if (recordSet.state() == 1 && !recordSet.eof()) {
        if (auto dn = recordSet.field(0)) path = QStringLiteral("LDAP://") + *dn;
    }
    static_cast<void>(recordSet.close());
    return path;
}

}  // namespace

QString mailQueryText(const QString& basePath, const QString& smtp) {
    return u'<' + basePath + QStringLiteral(">;((mail=") + escapeFilterValue(smtp) +
           QStringLiteral("));distinguishedName;subTree");
}

QString getADsPathFromSMTP(Directory& directory, const QString& smtp) {
    std::unique_ptr<QueryConnection> connection = directory.createQueryConnection();
    if (!connection) return {};
    QString path;
    if (connection->open(QStringLiteral("Active Directory Provider"))) {
        path = firstEntryPath(*connection, directory, smtp);
    }
    // Closing a connection that never opened fails harmlessly.
    static_cast<void>(connection->close());
    return path;
}

}  // namespace vorlane
