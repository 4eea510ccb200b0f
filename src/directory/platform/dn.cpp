#include "directory/platform/dn.h"

#include <ldap.h>

#include <QByteArray>

#include "directory/platform/ldap_failure.h"

namespace vorlane {

namespace {

// RFC 4514 escaping in the form that the directory writes: a backslash before each special
// character, hex only for NUL.
QString escapeValue(const QString& value) {
    QString out;
    out.reserve(value.size() + 4);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const bool edge =
            (i == 0 && (c == u' ' || c == u'#')) || (i == value.size() - 1 && c == u' ');
        if (c == QChar(0)) {
            out += QStringLiteral("\\00");
        } else if (edge || QStringLiteral(",+\"\\<>;=").contains(c)) {
            out += u'\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

// Writes relative names first .. first + count - 1; fold makes the comparison form.
QString formatRdns(const std::vector<Rdn>& rdns, std::size_t first, std::size_t count, bool fold) {
    QString text;
    for (std::size_t i = first; i < first + count; ++i) {
        if (i > first) text += u',';
        bool firstAva = true;
        for (const DnAva& ava : rdns[i]) {
            if (!firstAva) text += u'+';
            firstAva = false;
            text += fold ? ava.type.toLower() : ava.type.toUpper();
            text += u'=';
            text += escapeValue(fold ? ava.value.toCaseFolded() : ava.value);
        }
    }
    return text;
}

}  // namespace

Result<Dn> Dn::parse(const QString& text, const QString& diagnostic) {
    if (text.isEmpty()) return Dn();
    const QByteArray utf8 = text.toUtf8();
    LDAPDN raw = nullptr;
    if (utf8.contains('\0') ||
        ldap_str2dn(utf8.constData(), &raw, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS) {
        return fail(failureFromLdapResult(ldap_result::kInvalidDnSyntax, diagnostic));
    }
    std::vector<Rdn> rdns;
    for (int i = 0; raw && raw[i]; ++i) {
        Rdn rdn;
        for (int j = 0; raw[i][j]; ++j) {
            const LDAPAVA* ava = raw[i][j];
            rdn.push_back({QString::fromUtf8(ava->la_attr.bv_val, ava->la_attr.bv_len),
                           QString::fromUtf8(ava->la_value.bv_val, ava->la_value.bv_len)});
        }
        rdns.push_back(std::move(rdn));
    }
    ldap_dnfree(raw);
    return Dn(std::move(rdns));
}

Dn Dn::parent() const {
    if (rdns_.empty()) return {};
    return Dn(std::vector<Rdn>(rdns_.begin() + 1, rdns_.end()));
}

Dn Dn::child(const Rdn& rdn) const {
    std::vector<Rdn> rdns;
    rdns.reserve(rdns_.size() + 1);
    rdns.push_back(rdn);
    rdns.insert(rdns.end(), rdns_.begin(), rdns_.end());
    return Dn(std::move(rdns));
}

bool Dn::isWithin(const Dn& other) const {
    if (other.size() > size()) return false;
    const std::size_t skip = size() - other.size();
    return formatRdns(rdns_, skip, other.size(), true) == other.key();
}

QString Dn::toString() const {
    return formatRdns(rdns_, 0, rdns_.size(), false);
}

QString Dn::key() const {
    return formatRdns(rdns_, 0, rdns_.size(), true);
}

QString Dn::firstRdnText() const {
    return formatRdns(rdns_, 0, rdns_.empty() ? 0 : 1, false);
}

QString escapeDnValue(const QString& value) {
    return escapeValue(value);
}

}  // namespace vorlane
