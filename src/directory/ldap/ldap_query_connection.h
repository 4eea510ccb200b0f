#pragma once

#include <memory>

#include "common/directory.h"
#include "directory/ldap/ldap_connection.h"

namespace vorlane {

// A query connection over the process's LDAP connection: opening and closing it only change its
// state; each command text is one search (paged when the server needs it).
class LdapQueryConnection final : public QueryConnection {
  public:
    explicit LdapQueryConnection(std::shared_ptr<LdapConnection> connection)
        : connection_(std::move(connection)) {}

    Result<void> open(const QString& connectionString) override;
    bool isOpen() const override { return open_; }
    Result<void> close() override;
    Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) override;

  private:
    std::shared_ptr<LdapConnection> connection_;
    bool open_ = false;
};

}  // namespace vorlane
