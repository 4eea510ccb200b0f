#pragma once

#include <QString>

namespace vorlane {

// What the standard OpenLDAP client configuration (ldap.conf, ldaprc, LDAP* environment
// variables) says about the server and how to authenticate, as libldap itself reads it.
struct LdapConfiguration {
    QString uri;       // empty when the configuration names no server
    QString saslMech;  // SASL_MECH
    QString bindDn;    // BINDDN (a user-only option)
};

LdapConfiguration readLdapConfiguration();

enum class LdapAuthentication { Sasl, Simple, Anonymous };

// SASL when a mechanism is configured, else a simple bind when a bind DN is, else anonymous.
LdapAuthentication authenticationFor(const LdapConfiguration& configuration);

}  // namespace vorlane
