#include "directory/embedded/embedded_query_connection.h"

#include "directory/platform/ads_path.h"
#include "directory/platform/command_text.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

EmbeddedQueryConnection::EmbeddedQueryConnection(std::shared_ptr<DirectoryStore> store)
    : store_(std::move(store)) {}

Result<void> EmbeddedQueryConnection::open(const QString&) {
    open_ = true;
    return {};
}

Result<void> EmbeddedQueryConnection::close() {
    if (!open_) return fail(failures::objectClosed());
    open_ = false;
    return {};
}

Result<std::unique_ptr<RecordSet>> EmbeddedQueryConnection::execute(const QString& commandText) {
    if (!open_) return fail(failures::objectClosed());
    auto command = parseCommandText(commandText);
    if (!command) return fail(command.error());
    auto filter = parseFilter(command->filter);
    if (!filter) return fail(filter.error());
    if (!store_) return fail(failureFromLdapResult(ldap_result::kServerDown));
    auto base = parseAdsPath(command->basePath);
    if (!base) return fail(base.error());
    if (base->rootDse) return fail(failureFromLdapResult(ldap_result::kNoSuchObject));
    auto baseDn = Dn::parse(
        base->dn, QStringLiteral("00002032: ldb_search: invalid basedn '%1'").arg(base->dn));
    if (!baseDn) return fail(baseDn.error());

    SearchRequest request{*baseDn, command->scope, std::move(*filter), kPageSize, {}};
    std::vector<RecordSet::Row> rows;
    do {
        auto page = store_->search(request);
        if (!page) return fail(page.error());
        if (page->resultCode != 0) return fail(failureFromLdapResult(page->resultCode));
        for (const Entry* entry : page->entries) {
            RecordSet::Row row;
            row.reserve(command->attributes.size());
            for (const QString& column : command->attributes) {
                if (column.compare(QStringLiteral("AdsPath"), Qt::CaseInsensitive) == 0) {
                    row.push_back({formatAdsPath(base->server, entry->dn.toString())});
                } else if (const QStringList* values = entry->attributes.values(column)) {
                    row.push_back(*values);
                } else {
                    row.push_back({});
                }
            }
            rows.push_back(std::move(row));
        }
        request.cookie = page->cookie;
    } while (!request.cookie.isEmpty());
    return std::make_unique<RecordSet>(command->attributes, std::move(rows));
}

}  // namespace vorlane::embedded
