#include "minimal_request.h"

#include <ldap.h>
#include <sasl/sasl.h>

#include <QByteArray>
#include <vector>

namespace vorlane::bench {

namespace {

int quietInteract(LDAP*, unsigned, void*, void* interactions) {
    for (auto* prompt = static_cast<sasl_interact_t*>(interactions); prompt->id != SASL_CB_LIST_END;
         ++prompt) {
        prompt->result = prompt->defresult ? prompt->defresult : "";
        prompt->len = prompt->defresult ? static_cast<unsigned>(strlen(prompt->defresult)) : 0;
    }
    return LDAP_SUCCESS;
}

// A base or subtree search; the first entry's DN (empty when none), or nothing on failure.
bool search(LDAP* ld, const QByteArray& base, int scope, const QByteArray& filter,
            const char* attribute, QByteArray* firstDn, int* code) {
    char* attributes[] = {const_cast<char*>(attribute), nullptr};
    LDAPMessage* result = nullptr;
    *code = ldap_search_ext_s(ld, base.constData(), scope, filter.constData(), attributes, 0,
                              nullptr, nullptr, nullptr, 0, &result);
    if (firstDn) {
        firstDn->clear();
        if (LDAPMessage* entry = result ? ldap_first_entry(ld, result) : nullptr) {
            char* dn = ldap_get_dn(ld, entry);
            *firstDn = dn;
            ldap_memfree(dn);
        }
    }
    ldap_msgfree(result);
    return *code == LDAP_SUCCESS || *code == LDAP_NO_SUCH_OBJECT;
}

struct Mods {
    void add(int op, const char* type, std::vector<QByteArray> values) {
        auto& held = storage.emplace_back(std::move(values));
        auto& pointers = valuePointers.emplace_back();
        for (QByteArray& value : held) pointers.push_back(value.data());
        pointers.push_back(nullptr);
        mods.push_back(new LDAPMod{op, const_cast<char*>(type), {pointers.data()}});
    }
    LDAPMod** get() {
        mods.push_back(nullptr);
        return mods.data();
    }
    ~Mods() {
        for (LDAPMod* mod : mods) delete mod;
    }
    std::vector<std::vector<QByteArray>> storage;
    std::vector<std::vector<char*>> valuePointers;
    std::vector<LDAPMod*> mods;
    Mods() {
        storage.reserve(8);
        valuePointers.reserve(8);
    }
};

}  // namespace

bool MinimalRequest::connect(const QString& uri, const QString& saslMech) {
    if (ldap_initialize(&ld_, uri.toUtf8().constData()) != LDAP_SUCCESS) return false;
    const int version = LDAP_VERSION3;
    ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    return ldap_sasl_interactive_bind_s(ld_, nullptr, saslMech.toUtf8().constData(), nullptr,
                                        nullptr, LDAP_SASL_QUIET, quietInteract,
                                        nullptr) == LDAP_SUCCESS;
}

MinimalRequest::~MinimalRequest() {
    if (ld_) ldap_unbind_ext(ld_, nullptr, nullptr);
}

void MinimalRequest::lap(std::size_t step) {
    const auto now = std::chrono::steady_clock::now();
    if (stepTimes_.size() <= step) stepTimes_.resize(step + 1);
    stepTimes_[step].push_back(std::chrono::duration<double, std::milli>(now - lapStart_).count());
    lapStart_ = now;
}

bool MinimalRequest::run(const QString& container, const QString& name, const QString& userMail) {
    lapStart_ = std::chrono::steady_clock::now();
    int code = 0;
    QByteArray domain;
    // 1 rootDSE
    {
        char* attributes[] = {const_cast<char*>("defaultNamingContext"), nullptr};
        LDAPMessage* result = nullptr;
        code = ldap_search_ext_s(ld_, "", LDAP_SCOPE_BASE, "(objectClass=*)", attributes, 0,
                                 nullptr, nullptr, nullptr, 0, &result);
        if (code != LDAP_SUCCESS) return false;
        berval** values =
            ldap_get_values_len(ld_, ldap_first_entry(ld_, result), "defaultNamingContext");
        domain = QByteArray(values[0]->bv_val, static_cast<qsizetype>(values[0]->bv_len));
        ldap_value_free_len(values);
        ldap_msgfree(result);
    }
    lap(0);
    // 2 mail lookup
    QByteArray user;
    if (!search(ld_, domain, LDAP_SCOPE_SUBTREE, "(mail=" + userMail.toUtf8() + ")", "1.1", &user,
                &code) ||
        user.isEmpty()) {
        return false;
    }
    lap(1);
    // 3 container, 4 group (not there yet)
    const QByteArray containerDn = container.toUtf8();
    const QByteArray groupDn = "CN=" + name.toUtf8() + "," + containerDn;
    if (!search(ld_, containerDn, LDAP_SCOPE_BASE, "(objectClass=*)", nullptr, nullptr, &code)) {
        return false;
    }
    lap(2);
    if (!search(ld_, groupDn, LDAP_SCOPE_BASE, "(objectClass=*)", nullptr, nullptr, &code) ||
        code != LDAP_NO_SUCH_OBJECT) {
        return false;
    }
    lap(3);
    // 5 add
    {
        Mods mods;
        mods.add(LDAP_MOD_ADD, "objectClass", {"group"});
        mods.add(LDAP_MOD_ADD, "sAMAccountName", {name.toUtf8()});
        mods.add(LDAP_MOD_ADD, "groupType", {"8"});
        mods.add(LDAP_MOD_ADD, "description", {"DEZ distribution list"});
        if (ldap_add_ext_s(ld_, groupDn.constData(), mods.get(), nullptr, nullptr) !=
            LDAP_SUCCESS) {
            return false;
        }
    }
    lap(4);
    // 6 mail-enabling
    {
        const QByteArray address =
            name.toUtf8() + "@" + domain.toLower().replace("dc=", "").replace(",", ".");
        Mods mods;
        mods.add(LDAP_MOD_REPLACE, "mail", {address});
        mods.add(LDAP_MOD_REPLACE, "proxyAddresses", {"SMTP:" + address});
        if (ldap_modify_ext_s(ld_, groupDn.constData(), mods.get(), nullptr, nullptr) !=
            LDAP_SUCCESS) {
            return false;
        }
    }
    lap(5);
    // 7 membership test, 8 user
    QByteArray member;
    if (!search(ld_, groupDn, LDAP_SCOPE_BASE, "(member=" + user + ")", "1.1", &member, &code) ||
        !member.isEmpty()) {
        return false;
    }
    lap(6);
    if (!search(ld_, user, LDAP_SCOPE_BASE, "(objectClass=*)", nullptr, nullptr, &code)) {
        return false;
    }
    lap(7);
    // 9 member
    Mods mods;
    mods.add(LDAP_MOD_ADD, "member", {user});
    const bool added =
        ldap_modify_ext_s(ld_, groupDn.constData(), mods.get(), nullptr, nullptr) == LDAP_SUCCESS;
    lap(8);
    return added;
}

int MinimalRequest::level(const QString& base, int pageSize) {
    const QByteArray baseDn = base.toUtf8();
    char* attributes[] = {const_cast<char*>("name"), nullptr};
    int count = 0;
    berval cookie{0, nullptr};
    do {
        LDAPControl* page = nullptr;
        if (pageSize > 0) ldap_create_page_control(ld_, pageSize, &cookie, 0, &page);
        LDAPControl* controls[] = {page, nullptr};
        LDAPMessage* result = nullptr;
        const int code = ldap_search_ext_s(ld_, baseDn.constData(), LDAP_SCOPE_ONELEVEL,
                                           "(objectClass=organizationalUnit)", attributes, 0,
                                           page ? controls : nullptr, nullptr, nullptr, 0, &result);
        if (page) ldap_control_free(page);
        ber_memfree(cookie.bv_val);
        cookie = {0, nullptr};
        if (code != LDAP_SUCCESS) {
            ldap_msgfree(result);
            return -1;
        }
        // A complete retrieval reads what came: each entry's DN and name.
        for (LDAPMessage* entry = ldap_first_entry(ld_, result); entry;
             entry = ldap_next_entry(ld_, entry)) {
            char* dn = ldap_get_dn(ld_, entry);
            berval** names = ldap_get_values_len(ld_, entry, "name");
            if (dn && names && names[0]) ++count;
            ldap_value_free_len(names);
            ldap_memfree(dn);
        }
        if (pageSize > 0) {
            LDAPControl** returned = nullptr;
            ldap_parse_result(ld_, result, nullptr, nullptr, nullptr, nullptr, &returned, 0);
            if (LDAPControl* response =
                    ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, returned, nullptr)) {
                ber_int_t estimate = 0;
                ldap_parse_pageresponse_control(ld_, response, &estimate, &cookie);
            }
            ldap_controls_free(returned);
        }
        ldap_msgfree(result);
    } while (cookie.bv_len > 0);
    return count;
}

}  // namespace vorlane::bench
