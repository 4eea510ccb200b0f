#pragma once

#include <memory>

#include "common/directory.h"
#include "directory/ldap/ldap_connection.h"

namespace vorlane {

// The directory on an LDAP server (Active Directory, Samba), reached through the process's one
// connection. Binding a path is one base search for the object's classes; its property cache is
// loaded by the first read of a property.
class LdapDirectory final : public Directory {
  public:
    LdapDirectory(LdapConfiguration configuration, LdapOptions options);

    Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) override;
    Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) override;
    Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) override;
    std::unique_ptr<QueryConnection> createQueryConnection() override;

    LdapConnection& connection() { return *connection_; }

  private:
    std::shared_ptr<LdapConnection> connection_;
};

}  // namespace vorlane
