#include "common/ldap_escaping.h"

#include <lber.h>
#include <ldap.h>

namespace vorlane {

QString escapeFilterValue(const QString& value) {
    QByteArray utf8 = value.toUtf8();
    berval in{static_cast<ber_len_t>(utf8.size()), utf8.data()};
    berval out{0, nullptr};
    if (ldap_bv2escaped_filter_value(&in, &out) != 0) return {};
    QString escaped = QString::fromUtf8(out.bv_val, static_cast<qsizetype>(out.bv_len));
    ber_memfree(out.bv_val);
    return escaped.replace(u';', QStringLiteral("\\3b"));
}

QString escapeRdnValue(const QString& value) {
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QChar(u'\0')) {
            escaped += QStringLiteral("\\00");
            continue;
        }
        const bool special = QStringLiteral("\"+,;<>\\").contains(c);
        const bool leading = i == 0 && (c == u' ' || c == u'#');
        const bool trailing = i == value.size() - 1 && c == u' ';
        if (special || leading || trailing) escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString escapeForAdsPath(const QString& dn) {
    QString escaped = dn;
    return escaped.replace(u'/', QStringLiteral("\\/"));
}

}  // namespace vorlane
