#include "directory/ldap/ldap_connection.h"

#include <ldap.h>

#include <deque>

#include "directory/ldap/ldap_sasl_interaction.h"
#include "directory/ldap/ldap_text.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane {

namespace {

timeval toTimeval(std::chrono::milliseconds duration) {
    const auto count = duration.count();
    return timeval{static_cast<time_t>(count / 1000),
                   static_cast<suseconds_t>(count % 1000 * 1000)};
}

// Client-side results after which the connection is of no further use.
bool connectionLost(int code) {
    return code == LDAP_SERVER_DOWN || code == LDAP_TIMEOUT || code == LDAP_CONNECT_ERROR;
}

}  // namespace

LdapConnection::LdapConnection(LdapConfiguration configuration, LdapOptions options)
    : configuration_(std::move(configuration)), options_(std::move(options)) {}

LdapConnection::~LdapConnection() {
    disconnect();
}

void LdapConnection::disconnect() {
    if (ld_) ldap_unbind_ext(ld_, nullptr, nullptr);
    ld_ = nullptr;
}

LdapConnection::LdapError LdapConnection::errorOf(int code) const {
    LdapError error{code, {}};
    // libldap's own (negative) codes come with no server message; the handle's is a stale one.
    if (code < 0) return error;
    char* diagnostic = nullptr;
    if (ld_ && ldap_get_option(ld_, LDAP_OPT_DIAGNOSTIC_MESSAGE, &diagnostic) == LDAP_OPT_SUCCESS &&
        diagnostic) {
        error.diagnostic = QString::fromUtf8(diagnostic).trimmed();
        ldap_memfree(diagnostic);
    }
    return error;
}

template <class T>
Result<T> LdapConnection::run(const std::function<LdapResult<T>(LDAP*)>& operation) {
    // After the operator cancelled the password prompt the directory stays out of reach.
    if (passwordRefused_) return fail(failureFromLdapResult(LDAP_SERVER_DOWN));
    const bool wasOpen = ld_ != nullptr;
    LdapResult<T> result = std::unexpected(LdapError{LDAP_SERVER_DOWN, {}});
    if (auto opened = wasOpen ? LdapResult<void>{} : open(); !opened) {
        result = std::unexpected(opened.error());
    } else {
        result = operation(ld_);
        // A connection that broke since its last use is reopened once.
        if (!result && wasOpen && result.error().code == LDAP_SERVER_DOWN) {
            disconnect();
            if (auto reopened = open(); !reopened) {
                result = std::unexpected(reopened.error());
            } else {
                result = operation(ld_);
            }
        }
    }
    if (result) {
        if constexpr (std::is_void_v<T>) {
            return {};
        } else {
            return std::move(*result);
        }
    }
    LdapError error = result.error();
    if (connectionLost(error.code)) {
        disconnect();
        // A server that does not answer in time is reported like one that is down.
        if (error.code == LDAP_TIMEOUT) error = {LDAP_SERVER_DOWN, {}};
    }
    return fail(failureFromLdapResult(error.code, error.diagnostic));
}

LdapConnection::LdapResult<void> LdapConnection::open() {
    if (configuration_.uri.isEmpty()) return std::unexpected(LdapError{LDAP_SERVER_DOWN, {}});
    schemaAnswers_.clear();
    schemaNamingContext_.clear();
    rootDse_.reset();
    if (const int rc = ldap_initialize(&ld_, configuration_.uri.toUtf8().constData());
        rc != LDAP_SUCCESS) {
        ld_ = nullptr;
        return std::unexpected(LdapError{rc, {}});
    }
    const int version = LDAP_VERSION3;
    const timeval network = toTimeval(options_.networkTimeout);
    const timeval operation = toTimeval(options_.operationTimeout);
    ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    ldap_set_option(ld_, LDAP_OPT_NETWORK_TIMEOUT, &network);
    ldap_set_option(ld_, LDAP_OPT_TIMEOUT, &operation);
    if (auto bound = bind(); !bound) {
        disconnect();
        return std::unexpected(bound.error());
    }
    return {};
}

LdapConnection::LdapResult<void> LdapConnection::bind() {
    switch (authenticationFor(configuration_)) {
        case LdapAuthentication::Sasl:
            return bindSasl();
        case LdapAuthentication::Simple:
            return bindSimple();
        case LdapAuthentication::Anonymous:
            break;
    }
    return {};  // LDAPv3 needs no bind for anonymous access
}

LdapConnection::LdapResult<void> LdapConnection::bindSasl() {
    const QByteArray mech = configuration_.saslMech.toUtf8();
    // Active Directory refuses a SASL security layer inside TLS.
    if (configuration_.uri.startsWith(QLatin1String("ldaps://"), Qt::CaseInsensitive)) {
        ldap_set_option(ld_, LDAP_OPT_X_SASL_SECPROPS, "maxssf=0");
    }
    SaslInteraction interaction = SaslInteraction::fromHandle(ld_, &options_.askPassword);
    ++roundTrips_;
    const int rc = ldap_sasl_interactive_bind_s(ld_, nullptr, mech.constData(), nullptr, nullptr,
                                                LDAP_SASL_QUIET, vorlaneSaslInteract, &interaction);
    if (interaction.cancelled) {
        passwordRefused_ = true;
        return std::unexpected(LdapError{LDAP_SERVER_DOWN, {}});
    }
    if (rc != LDAP_SUCCESS) return std::unexpected(errorOf(rc));
    return {};
}

LdapConnection::LdapResult<void> LdapConnection::bindSimple() {
    std::optional<QString> password;
    if (options_.askPassword) password = options_.askPassword(configuration_.bindDn);
    if (!password) {
        passwordRefused_ = true;
        return std::unexpected(LdapError{LDAP_SERVER_DOWN, {}});
    }
    // An empty password would make the bind an unauthenticated one that succeeds anonymously.
    if (password->isEmpty()) return std::unexpected(LdapError{LDAP_INVALID_CREDENTIALS, {}});
    QByteArray secret = password->toUtf8();
    password->fill(u'\0');
    berval credentials{static_cast<ber_len_t>(secret.size()), secret.data()};
    ++roundTrips_;
    const int rc = ldap_sasl_bind_s(ld_, configuration_.bindDn.toUtf8().constData(),
                                    LDAP_SASL_SIMPLE, &credentials, nullptr, nullptr, nullptr);
    secret.fill('\0');
    if (rc != LDAP_SUCCESS) return std::unexpected(errorOf(rc));
    return {};
}

LdapConnection::LdapResult<LDAPMessage*> LdapConnection::waitFor(int messageId) {
    timeval timeout = toTimeval(options_.operationTimeout);
    LDAPMessage* result = nullptr;
    const int rc = ::ldap_result(ld_, messageId, LDAP_MSG_ALL, &timeout, &result);
    if (rc == 0) {
        ldap_abandon_ext(ld_, messageId, nullptr, nullptr);
        return std::unexpected(LdapError{LDAP_TIMEOUT, {}});
    }
    if (rc < 0) {
        int code = LDAP_SERVER_DOWN;
        ldap_get_option(ld_, LDAP_OPT_RESULT_CODE, &code);
        return std::unexpected(errorOf(code));
    }
    return result;
}

LdapConnection::LdapResult<void> LdapConnection::write(LDAP* ld, const QString& dn,
                                                       const std::vector<LdapChange>& changes,
                                                       Write kind) {
    // The request's values, held until it is sent.
    struct Modification {
        QByteArray type;
        std::vector<QByteArray> bytes;
        std::vector<berval> values;
        std::vector<berval*> pointers;
        LDAPMod mod{};
    };
    std::deque<Modification> modifications;
    std::vector<LDAPMod*> mods;
    for (const LdapChange& change : changes) {
        Modification& m = modifications.emplace_back();
        m.type = change.attribute.toUtf8();
        for (const QString& value : change.values) m.bytes.push_back(value.toUtf8());
        for (QByteArray& bytes : m.bytes) {
            m.values.push_back(berval{static_cast<ber_len_t>(bytes.size()), bytes.data()});
        }
        for (berval& value : m.values) m.pointers.push_back(&value);
        m.pointers.push_back(nullptr);
        int op = LDAP_MOD_REPLACE;
        if (change.kind == LdapChange::Kind::Add) op = LDAP_MOD_ADD;
        if (change.kind == LdapChange::Kind::Delete) op = LDAP_MOD_DELETE;
        m.mod.mod_op = op | LDAP_MOD_BVALUES;
        m.mod.mod_type = m.type.data();
        m.mod.mod_bvalues = m.pointers.data();
        mods.push_back(&m.mod);
    }
    mods.push_back(nullptr);
    const QByteArray target = dn.toUtf8();
    int messageId = 0;
    int rc = LDAP_SUCCESS;
    switch (kind) {
        case Write::Add:
            rc = ldap_add_ext(ld, target.constData(), mods.data(), nullptr, nullptr, &messageId);
            break;
        case Write::Modify:
            rc = ldap_modify_ext(ld, target.constData(), mods.data(), nullptr, nullptr, &messageId);
            break;
        case Write::Delete:
            rc = ldap_delete_ext(ld, target.constData(), nullptr, nullptr, &messageId);
            break;
    }
    if (rc != LDAP_SUCCESS) return std::unexpected(errorOf(rc));
    ++roundTrips_;
    auto answer = waitFor(messageId);
    if (!answer) return std::unexpected(answer.error());
    int code = LDAP_SUCCESS;
    char* diagnostic = nullptr;
    const int parsed =
        ldap_parse_result(ld, *answer, &code, nullptr, &diagnostic, nullptr, nullptr, 1);
    if (parsed != LDAP_SUCCESS) return std::unexpected(errorOf(parsed));
    LdapError error{code, diagnostic ? QString::fromUtf8(diagnostic).trimmed() : QString()};
    ldap_memfree(diagnostic);
    if (code != LDAP_SUCCESS) return std::unexpected(error);
    return {};
}

Result<void> LdapConnection::add(const QString& dn, const std::vector<LdapChange>& changes) {
    return run<void>([&](LDAP* ld) { return write(ld, dn, changes, Write::Add); });
}

Result<void> LdapConnection::modify(const QString& dn, const std::vector<LdapChange>& changes) {
    return run<void>([&](LDAP* ld) { return write(ld, dn, changes, Write::Modify); });
}

Result<void> LdapConnection::deleteEntry(const QString& dn) {
    return run<void>([&](LDAP* ld) { return write(ld, dn, {}, Write::Delete); });
}

Result<bool> LdapConnection::schemaHasAttribute(const QString& lDAPDisplayName) {
    for (const auto& [name, known] : schemaAnswers_) {
        if (name.compare(lDAPDisplayName, Qt::CaseInsensitive) == 0) return known;
    }
    return run<bool>([&](LDAP* ld) -> LdapResult<bool> {
        if (schemaNamingContext_.isEmpty()) {
            auto rootDse = searchOnce(ld, {}, SearchScope::Base, QStringLiteral("(objectClass=*)"),
                                      {QStringLiteral("schemaNamingContext")}, 0, nullptr);
            if (!rootDse) return std::unexpected(rootDse.error());
            if (!rootDse->empty()) {
                if (const QStringList* values = rootDse->front().find("schemaNamingContext");
                    values && !values->isEmpty()) {
                    schemaNamingContext_ = values->front();
                }
            }
        }
        const QString filter = QStringLiteral("(&(objectClass=attributeSchema)(lDAPDisplayName=") +
                               escapeFilterValue(lDAPDisplayName) + QStringLiteral("))");
        auto found = searchOnce(ld, schemaNamingContext_, SearchScope::OneLevel, filter,
                                {QStringLiteral("1.1")}, 0, nullptr);
        if (!found) return std::unexpected(found.error());
        const bool known = !found->empty();
        schemaAnswers_.emplace_back(lDAPDisplayName, known);
        return known;
    });
}

}  // namespace vorlane

namespace vorlane {
template Result<std::vector<LdapEntry>> LdapConnection::run(
    const std::function<LdapResult<std::vector<LdapEntry>>(LDAP*)>&);
template Result<std::optional<LdapEntry>> LdapConnection::run(
    const std::function<LdapResult<std::optional<LdapEntry>>(LDAP*)>&);
}  // namespace vorlane
