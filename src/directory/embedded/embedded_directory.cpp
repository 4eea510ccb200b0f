#include "directory/embedded/embedded_directory.h"

#include "directory/embedded/embedded_objects.h"
#include "directory/embedded/embedded_query_connection.h"
#include "directory/platform/ads_path.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

EmbeddedDirectory::EmbeddedDirectory(std::shared_ptr<DirectoryStore> store)
    : store_(std::move(store)) {}

Result<std::unique_ptr<DirectoryObject>> EmbeddedDirectory::bindObject(const QString& path) {
    if (!store_) return fail(failureFromLdapResult(ldap_result::kServerDown));
    auto parsed = parseAdsPath(path);
    if (!parsed) return fail(parsed.error());
    if (parsed->rootDse) return makeRootDse(*store_, parsed->server);
    auto dn = Dn::parse(
        parsed->dn, QStringLiteral("00002032: ldb_search: invalid basedn '%1'").arg(parsed->dn));
    if (!dn) return fail(dn.error());
    const Entry* entry = store_->find(*dn);
    if (!entry) return fail(failureFromLdapResult(ldap_result::kNoSuchObject));
    return makeBoundObject(store_, parsed->server, *entry);
}

Result<std::unique_ptr<DirectoryGroup>> EmbeddedDirectory::bindGroup(const QString& path) {
    auto object = bindObject(path);
    if (!object) return fail(object.error());
    return viewAs<DirectoryGroup>(std::move(*object));
}

Result<std::unique_ptr<DirectoryContainer>> EmbeddedDirectory::bindContainer(const QString& path) {
    auto object = bindObject(path);
    if (!object) return fail(object.error());
    return viewAs<DirectoryContainer>(std::move(*object));
}

std::unique_ptr<QueryConnection> EmbeddedDirectory::createQueryConnection() {
    return std::make_unique<EmbeddedQueryConnection>(store_);
}

}  // namespace vorlane::embedded
