#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "directory/embedded/directory_store.h"

namespace vorlane::testing {

// What a newly provisioned domain holds: the domain object and its well-known containers.
QByteArray provisionedDomainLdif(const QString& domainDn);

// A store of a provisioned domain plus extra LDIF; fails the calling test when it cannot load.
std::shared_ptr<embedded::DirectoryStore> storeFromLdif(const QString& domainDn,
                                                        const QByteArray& extra,
                                                        embedded::SchemaOptions options = {});

}  // namespace vorlane::testing
