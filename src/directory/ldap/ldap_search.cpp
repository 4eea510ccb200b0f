// Searches of the connection: one request, or pages of it when the server caps unpaged searches.
#include <ldap.h>

#include "directory/ldap/ldap_connection.h"

namespace vorlane {

namespace {

int ldapScope(SearchScope scope) {
    switch (scope) {
        case SearchScope::Base:
            return LDAP_SCOPE_BASE;
        case SearchScope::OneLevel:
            return LDAP_SCOPE_ONELEVEL;
        case SearchScope::Subtree:
            return LDAP_SCOPE_SUBTREE;
    }
    return LDAP_SCOPE_SUBTREE;
}

// Reads the entry in place from its BER encoding, without copying each value first.
LdapEntry readEntryMessage(LDAP* ld, LDAPMessage* message) {
    LdapEntry entry;
    BerElement* ber = nullptr;
    berval dn{0, nullptr};
    if (ldap_get_dn_ber(ld, message, &ber, &dn) != LDAP_SUCCESS) {
        if (ber) ber_free(ber, 0);
        return entry;
    }
    entry.dn = QString::fromUtf8(dn.bv_val, static_cast<qsizetype>(dn.bv_len));
    berval name{0, nullptr};
    berval* values = nullptr;
    while (ldap_get_attribute_ber(ld, message, ber, &name, &values) == LDAP_SUCCESS &&
           name.bv_val) {
        QStringList texts;
        for (berval* value = values; value && value->bv_val; ++value) {
            texts.append(QString::fromUtf8(value->bv_val, static_cast<qsizetype>(value->bv_len)));
        }
        ber_memfree(values);
        values = nullptr;
        entry.attributes.emplace_back(
            QString::fromUtf8(name.bv_val, static_cast<qsizetype>(name.bv_len)), std::move(texts));
    }
    ber_free(ber, 0);
    return entry;
}

// The attribute list of a request, NULL-terminated; none means every user attribute.
struct AttributeList {
    explicit AttributeList(const QStringList& names) {
        for (const QString& name : names) bytes.push_back(name.toUtf8());
        for (QByteArray& name : bytes) pointers.push_back(name.data());
        pointers.push_back(nullptr);
    }
    char** get() { return bytes.empty() ? nullptr : pointers.data(); }
    std::vector<QByteArray> bytes;
    std::vector<char*> pointers;
};

}  // namespace

LdapConnection::LdapResult<std::vector<LdapEntry>> LdapConnection::searchOnce(
    LDAP* ld, const QString& base, SearchScope scope, const QString& filter,
    const QStringList& attributes, int sizeLimit, QByteArray* pageCookie) {
    LDAPControl* pageControl = nullptr;
    if (pageCookie) {
        berval cookie{static_cast<ber_len_t>(pageCookie->size()), pageCookie->data()};
        const int rc = ldap_create_page_control(ld, static_cast<ber_int_t>(options_.pageSize),
                                                &cookie, 0, &pageControl);
        if (rc != LDAP_SUCCESS) return std::unexpected(errorOf(rc));
    }
    LDAPControl* serverControls[] = {pageControl, nullptr};
    AttributeList names(attributes);
    const QByteArray baseBytes = base.toUtf8();
    const QByteArray filterBytes = filter.toUtf8();
    timeval timeout{static_cast<time_t>(options_.operationTimeout.count() / 1000),
                    static_cast<suseconds_t>(options_.operationTimeout.count() % 1000 * 1000)};
    int messageId = 0;
    const int rc = ldap_search_ext(
        ld, baseBytes.constData(), ldapScope(scope), filterBytes.constData(), names.get(), 0,
        pageControl ? serverControls : nullptr, nullptr, &timeout, sizeLimit, &messageId);
    if (pageControl) ldap_control_free(pageControl);
    if (rc != LDAP_SUCCESS) return std::unexpected(errorOf(rc));
    ++roundTrips_;
    auto answer = waitFor(messageId);
    if (!answer) return std::unexpected(answer.error());

    std::vector<LdapEntry> entries;
    LdapError outcome{LDAP_OTHER, {}};
    if (pageCookie) pageCookie->clear();
    for (LDAPMessage* message = ldap_first_message(ld, *answer); message;
         message = ldap_next_message(ld, message)) {
        switch (ldap_msgtype(message)) {
            case LDAP_RES_SEARCH_ENTRY:
                entries.push_back(readEntryMessage(ld, message));
                break;
            case LDAP_RES_SEARCH_REFERENCE:
                break;  // other partitions: not chased
            case LDAP_RES_SEARCH_RESULT: {
                int code = LDAP_SUCCESS;
                char* diagnostic = nullptr;
                LDAPControl** controls = nullptr;
                if (ldap_parse_result(ld, message, &code, nullptr, &diagnostic, nullptr, &controls,
                                      0) == LDAP_SUCCESS) {
                    outcome = {code,
                               diagnostic ? QString::fromUtf8(diagnostic).trimmed() : QString()};
                }
                ldap_memfree(diagnostic);
                if (pageCookie && controls) {
                    if (LDAPControl* response =
                            ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, controls, nullptr)) {
                        ber_int_t estimate = 0;
                        berval cookie{0, nullptr};
                        if (ldap_parse_pageresponse_control(ld, response, &estimate, &cookie) ==
                            LDAP_SUCCESS) {
                            *pageCookie =
                                QByteArray(cookie.bv_val, static_cast<qsizetype>(cookie.bv_len));
                            ber_memfree(cookie.bv_val);
                        }
                    }
                }
                ldap_controls_free(controls);
                break;
            }
            default:
                break;
        }
    }
    ldap_msgfree(*answer);
    if (outcome.code != LDAP_SUCCESS) return std::unexpected(outcome);
    return entries;
}

LdapConnection::LdapResult<std::vector<LdapEntry>> LdapConnection::searchAll(
    LDAP* ld, const QString& base, SearchScope scope, const QString& filter,
    const QStringList& attributes) {
    // Unpaged first: one request, and on Samba ten times faster than paging. A server that stops
    // unpaged searches at its page limit (Windows: 1000 entries, sizeLimitExceeded) is paged from
    // then on, so that only the first large search on the connection costs the extra request.
    if (!pageEverySearch_) {
        const int limit = options_.unpagedSizeLimit;
        auto whole = searchOnce(ld, base, scope, filter, attributes, limit, nullptr);
        // A server that ignores the asked limit (Samba does) is held to it here.
        if (whole && limit > 0 && whole->size() > static_cast<std::size_t>(limit)) {
            whole = std::unexpected(LdapError{LDAP_SIZELIMIT_EXCEEDED, {}});
        }
        if (whole || whole.error().code != LDAP_SIZELIMIT_EXCEEDED) return whole;
        pageEverySearch_ = true;
    }
    std::vector<LdapEntry> entries;
    QByteArray cookie;
    do {
        auto page = searchOnce(ld, base, scope, filter, attributes, 0, &cookie);
        if (!page) return std::unexpected(page.error());
        entries.insert(entries.end(), std::make_move_iterator(page->begin()),
                       std::make_move_iterator(page->end()));
    } while (!cookie.isEmpty());
    return entries;
}

Result<std::vector<LdapEntry>> LdapConnection::search(const QString& base, SearchScope scope,
                                                      const QString& filter,
                                                      const QStringList& attributes) {
    return run<std::vector<LdapEntry>>(
        [&](LDAP* ld) { return searchAll(ld, base, scope, filter, attributes); });
}

Result<std::optional<LdapEntry>> LdapConnection::readEntry(const QString& dn, const QString& filter,
                                                           const QStringList& attributes) {
    // The rootDSE describes the server (naming contexts, schema): read whole once a connection.
    const bool wholeRootDse =
        dn.isEmpty() && attributes.isEmpty() && filter == QLatin1String("(objectClass=*)");
    if (wholeRootDse && rootDse_) return std::optional<LdapEntry>(*rootDse_);
    return run<std::optional<LdapEntry>>([&](LDAP* ld) -> LdapResult<std::optional<LdapEntry>> {
        auto found = searchOnce(ld, dn, SearchScope::Base, filter, attributes, 0, nullptr);
        if (!found) return std::unexpected(found.error());
        if (found->empty()) return std::optional<LdapEntry>();
        // The rootDSE names the schema: remember it for schemaHasAttribute().
        if (dn.isEmpty()) {
            if (const QStringList* schema = found->front().find("schemaNamingContext");
                schema && !schema->isEmpty()) {
                schemaNamingContext_ = schema->front();
            }
        }
        if (wholeRootDse) rootDse_ = found->front();
        return std::optional<LdapEntry>(std::move(found->front()));
    });
}

}  // namespace vorlane
