#include "directory/ldap/ldap_directory.h"

#include "directory/ldap/ldap_objects.h"
#include "directory/ldap/ldap_query_connection.h"
#include "directory/platform/ads_path.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane {

LdapDirectory::LdapDirectory(LdapConfiguration configuration, LdapOptions options)
    : connection_(std::make_shared<LdapConnection>(std::move(configuration), std::move(options))) {}

Result<std::unique_ptr<DirectoryObject>> LdapDirectory::bindObject(const QString& path) {
    auto parsed = parseAdsPath(path);
    if (!parsed) return fail(parsed.error());
    // Every server part reaches the one connection's server, so that reads see earlier writes.
    // The rootDSE comes whole (read once a connection); any other object with its classes, its
    // other attributes at the first read of one.
    const QStringList attributes =
        parsed->dn.isEmpty() ? QStringList() : QStringList{QStringLiteral("objectClass")};
    auto entry = connection_->readEntry(parsed->dn, QStringLiteral("(objectClass=*)"), attributes);
    if (!entry) return fail(entry.error());
    if (!entry->has_value()) return fail(failureFromLdapResult(ldap_result::kNoSuchObject));
    LdapObjectState state;
    state.connection = connection_;
    state.server = parsed->server;
    state.dn = parsed->dn;
    state.stored = true;
    state.cacheLoaded = parsed->dn.isEmpty();
    state.cache = std::move(**entry);
    const QStringList* classes = state.cache.find(QStringLiteral("objectClass"));
    return makeLdapObject(std::move(state), classes ? *classes : QStringList());
}

Result<std::unique_ptr<DirectoryGroup>> LdapDirectory::bindGroup(const QString& path) {
    auto object = bindObject(path);
    if (!object) return fail(object.error());
    return viewAs<DirectoryGroup>(std::move(*object));
}

Result<std::unique_ptr<DirectoryContainer>> LdapDirectory::bindContainer(const QString& path) {
    auto object = bindObject(path);
    if (!object) return fail(object.error());
    return viewAs<DirectoryContainer>(std::move(*object));
}

std::unique_ptr<QueryConnection> LdapDirectory::createQueryConnection() {
    return std::make_unique<LdapQueryConnection>(connection_);
}

}  // namespace vorlane
