#include "directory/ldap/ldap_sasl_interaction.h"

#include <ldap.h>
#include <sasl/sasl.h>

#include <cstring>

namespace vorlane {

namespace {
QByteArray handleOption(LDAP* ld, int option) {
    char* value = nullptr;
    if (ldap_get_option(ld, option, &value) != LDAP_OPT_SUCCESS || !value) return {};
    QByteArray bytes(value);
    ldap_memfree(value);
    return bytes;
}
}  // namespace

SaslInteraction SaslInteraction::fromHandle(LDAP* ld, const PasswordCallback* askPassword) {
    SaslInteraction interaction;
    interaction.authcid = handleOption(ld, LDAP_OPT_X_SASL_AUTHCID);
    interaction.authzid = handleOption(ld, LDAP_OPT_X_SASL_AUTHZID);
    interaction.realm = handleOption(ld, LDAP_OPT_X_SASL_REALM);
    interaction.askPassword = askPassword;
    return interaction;
}

SaslInteraction::~SaslInteraction() {
    password.fill('\0');
}

extern "C" int vorlaneSaslInteract(LDAP*, unsigned, void* defaults, void* interactions) {
    auto* answers = static_cast<SaslInteraction*>(defaults);
    for (auto* prompt = static_cast<sasl_interact_t*>(interactions); prompt->id != SASL_CB_LIST_END;
         ++prompt) {
        const QByteArray* answer = nullptr;
        switch (prompt->id) {
            case SASL_CB_USER:
                answer = &answers->authzid;
                break;
            case SASL_CB_AUTHNAME:
                answer = &answers->authcid;
                break;
            case SASL_CB_GETREALM:
                answer = &answers->realm;
                break;
            case SASL_CB_PASS:
                if (answers->password.isEmpty()) {
                    std::optional<QString> password;
                    if (answers->askPassword && *answers->askPassword) {
                        password = (*answers->askPassword)(QString::fromUtf8(answers->authcid));
                    }
                    if (!password) {
                        answers->cancelled = true;
                        return LDAP_OTHER;
                    }
                    answers->password = password->toUtf8();
                    password->fill(u'\0');
                }
                answer = &answers->password;
                break;
            default:
                break;
        }
        if (answer && !answer->isEmpty()) {
            prompt->result = answer->constData();
            prompt->len = static_cast<unsigned>(answer->size());
        } else if (prompt->defresult) {
            prompt->result = prompt->defresult;
            prompt->len = static_cast<unsigned>(std::strlen(prompt->defresult));
        } else {
            prompt->result = "";
            prompt->len = 0;
        }
    }
    return LDAP_SUCCESS;
}

}  // namespace vorlane
