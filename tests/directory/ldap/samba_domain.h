#pragma once

#include <QString>
#include <optional>

#include "directory/ldap/ldap_configuration.h"

namespace vorlane::testing {

// The throwaway Samba AD DC that scripts/samba/run-tests starts for these tests, as its
// environment variables describe it. Absent when the tests run without it.
class SambaDomain {
  public:
    static std::optional<SambaDomain> fromEnvironment();

    QString baseDn() const { return baseDn_; }
    QString adminDn() const { return adminDn_; }
    QString adminPassword() const { return adminPassword_; }
    // The configuration the harness set up (GSSAPI with its ticket).
    LdapConfiguration configuration() const;

    // Stops and restarts the server (the harness's script, by PID); freezes and thaws it.
    bool stop() const;
    bool start() const;
    bool freeze() const;
    bool thaw() const;

    // A name no other test of this run uses ("prefix-<pid>-<n>").
    static QString uniqueName(const QString& prefix);

  private:
    bool control(const QString& command) const;
    bool signal(int number) const;

    QString dir_;
    QString control_;
    QString baseDn_;
    QString adminDn_;
    QString adminPassword_;
};

}  // namespace vorlane::testing
