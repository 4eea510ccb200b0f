#include "directory/ldap/ldap_query_connection.h"

#include "directory/ldap/ldap_text.h"
#include "directory/platform/ads_path.h"
#include "directory/platform/command_text.h"

namespace vorlane {

namespace {
// A column that the provider fills itself: the row's path, not an attribute of the entry.
const QString kAdsPathColumn = QStringLiteral("ADsPath");
}  // namespace

Result<void> LdapQueryConnection::open(const QString&) {
    open_ = true;
    return {};
}

Result<void> LdapQueryConnection::close() {
    if (!open_) return fail(failures::objectClosed());
    open_ = false;
    return {};
}

Result<std::unique_ptr<RecordSet>> LdapQueryConnection::execute(const QString& commandText) {
    if (!open_) return fail(failures::objectClosed());
    auto command = parseCommandText(commandText);
    if (!command) return fail(command.error());
    auto base = parseAdsPath(command->basePath);
    if (!base) return fail(base.error());

    QStringList requested;
    for (const QString& column : command->attributes) {
        if (column.compare(kAdsPathColumn, Qt::CaseInsensitive) != 0) requested.append(column);
    }
    if (requested.isEmpty()) requested.append(QStringLiteral("1.1"));  // no attributes at all

    auto entries = connection_->search(base->dn, command->scope,
                                       withoutRedundantParentheses(command->filter), requested);
    if (!entries) return fail(entries.error());

    std::vector<RecordSet::Row> rows;
    rows.reserve(entries->size());
    for (const LdapEntry& entry : *entries) {
        RecordSet::Row row;
        for (const QString& column : command->attributes) {
            if (column.compare(kAdsPathColumn, Qt::CaseInsensitive) == 0) {
                row.push_back({formatAdsPath(base->server, entry.dn)});
            } else if (const QStringList* values = entry.find(column)) {
                row.push_back(*values);
            } else {
                row.push_back({});
            }
        }
        rows.push_back(std::move(row));
    }
    return std::make_unique<RecordSet>(command->attributes, std::move(rows));
}

}  // namespace vorlane
