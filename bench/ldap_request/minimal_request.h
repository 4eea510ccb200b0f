#pragma once

#include <QString>

struct ldap;

namespace vorlane::bench {

// The least a libldap program does for a "Create Group" with a member: nine requests on one
// connection, each awaited before the next. The baseline of the request benchmark.
class MinimalRequest {
  public:
    // Binds with the client configuration (SASL GSSAPI with the ticket); false on failure.
    bool connect(const QString& uri, const QString& saslMech);
    ~MinimalRequest();

    // Creates group `name` in container (a DN), mail-enables it and adds the user whose mail is
    // userMail. False when a step fails.
    bool run(const QString& container, const QString& name, const QString& userMail);

    // A one-level search of base returning every entry unpaged (pageSize 0) or in pages;
    // the number of entries, or -1.
    int level(const QString& base, int pageSize);

  private:
    ::ldap* ld_ = nullptr;
};

}  // namespace vorlane::bench
