#include "provisioned_domain.h"

#include <gtest/gtest.h>

#include "directory/embedded/ldif_storage.h"

namespace vorlane::testing {

QByteArray provisionedDomainLdif(const QString& domainDn) {
    QByteArray text = "dn: " + domainDn.toUtf8() + "\nobjectClass: domainDNS\n\n";
    for (const char* name : {"Users", "Computers", "System", "Program Data",
                             "ForeignSecurityPrincipals", "Managed Service Accounts"}) {
        text +=
            "dn: CN=" + QByteArray(name) + "," + domainDn.toUtf8() + "\nobjectClass: container\n\n";
    }
    text +=
        "dn: OU=Domain Controllers," + domainDn.toUtf8() + "\nobjectClass: organizationalUnit\n\n";
    return text;
}

std::shared_ptr<embedded::DirectoryStore> storeFromLdif(const QString& domainDn,
                                                        const QByteArray& extra,
                                                        embedded::SchemaOptions options) {
    auto store = embedded::readLdif(provisionedDomainLdif(domainDn) + "\n" + extra, options);
    EXPECT_TRUE(store.has_value()) << (store ? "" : store.error().reason.toStdString()) << " at "
                                   << (store ? 0 : store.error().line);
    return store ? *store : nullptr;
}

}  // namespace vorlane::testing
