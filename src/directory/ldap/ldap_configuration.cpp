#include "directory/ldap/ldap_configuration.h"

#include <lber.h>
#include <ldap.h>

// libldap exports the function that encodes a bind request but does not declare it. Encoding a
// simple bind without a DN is the one way to learn the configured BINDDN, which libldap fills in
// itself and offers no option to read.
extern "C" BerElement* ldap_build_bind_req(LDAP* ld, const char* dn, const char* mech,
                                           struct berval* cred, LDAPControl** sctrls,
                                           LDAPControl** cctrls, ber_int_t* msgidp);

namespace vorlane {

namespace {

// libldap's own default when nothing is configured (ldap://localhost/, scope base).
constexpr const char* kUnconfiguredUri = "ldap://localhost:389/??base";

QString takeString(char* value) {
    QString text = value ? QString::fromUtf8(value) : QString();
    ldap_memfree(value);
    return text;
}

QString configuredBindDn(LDAP* ld) {
    char password[] = "x";
    berval credentials{1, password};
    ber_int_t messageId = 0;
    BerElement* request = ldap_build_bind_req(ld, nullptr, LDAP_SASL_SIMPLE, &credentials, nullptr,
                                              nullptr, &messageId);
    if (!request) return {};
    ber_reset(request, 1);
    ber_int_t id = 0;
    ber_int_t version = 0;
    berval dn{0, nullptr};
    QString bindDn;
    if (ber_scanf(request, "{i{im", &id, &version, &dn) != LBER_ERROR) {
        bindDn = QString::fromUtf8(dn.bv_val, static_cast<qsizetype>(dn.bv_len));
    }
    ber_free(request, 1);
    return bindDn;
}

}  // namespace

LdapConfiguration readLdapConfiguration() {
    LdapConfiguration configuration;
    char* uri = nullptr;
    ldap_get_option(nullptr, LDAP_OPT_URI, &uri);
    configuration.uri = takeString(uri);
    if (configuration.uri == QLatin1String(kUnconfiguredUri)) configuration.uri.clear();

    // SASL_MECH and BINDDN are per-handle defaults: read them from a handle that never connects.
    LDAP* ld = nullptr;
    if (ldap_initialize(&ld, nullptr) != LDAP_SUCCESS || !ld) return configuration;
    char* mech = nullptr;
    if (ldap_get_option(ld, LDAP_OPT_X_SASL_MECH, &mech) == LDAP_OPT_SUCCESS) {
        configuration.saslMech = takeString(mech);
    }
    configuration.bindDn = configuredBindDn(ld);
    ldap_unbind_ext(ld, nullptr, nullptr);
    return configuration;
}

LdapAuthentication authenticationFor(const LdapConfiguration& configuration) {
    if (!configuration.saslMech.isEmpty()) return LdapAuthentication::Sasl;
    if (!configuration.bindDn.isEmpty()) return LdapAuthentication::Simple;
    return LdapAuthentication::Anonymous;
}

}  // namespace vorlane
