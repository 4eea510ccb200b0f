#pragma once

#include <QByteArray>
#include <QString>

#include "directory/ldap/password_callback.h"

struct ldap;
using LDAP = ldap;

namespace vorlane {

// The answers that a SASL mechanism may ask for during ldap_sasl_interactive_bind: identities
// from the configuration, a password from the operator (asked only when the mechanism wants one,
// which GSSAPI never does). Lives on the stack for the length of one bind.
struct SaslInteraction {
    QByteArray authcid;
    QByteArray authzid;
    QByteArray realm;
    QByteArray password;
    const PasswordCallback* askPassword = nullptr;
    bool cancelled = false;

    // Reads SASL_AUTHCID, SASL_AUTHZID and SASL_REALM from the handle's configuration.
    static SaslInteraction fromHandle(LDAP* ld, const PasswordCallback* askPassword);
    ~SaslInteraction();
};

// The LDAP_SASL_INTERACT_PROC for ldap_sasl_interactive_bind(_s); defaults is a SaslInteraction.
extern "C" int vorlaneSaslInteract(LDAP* ld, unsigned flags, void* defaults, void* interactions);

}  // namespace vorlane
