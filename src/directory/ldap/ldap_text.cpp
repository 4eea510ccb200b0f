#include "directory/ldap/ldap_text.h"

#include <ldap.h>

namespace vorlane {

QString escapeFilterValue(const QString& value) {
    QByteArray bytes = value.toUtf8();
    berval in{static_cast<ber_len_t>(bytes.size()), bytes.data()};
    berval out{0, nullptr};
    if (ldap_bv2escaped_filter_value(&in, &out) != LDAP_SUCCESS) return {};
    QString escaped = QString::fromUtf8(out.bv_val, static_cast<qsizetype>(out.bv_len));
    ber_memfree(out.bv_val);
    return escaped;
}

}  // namespace vorlane
