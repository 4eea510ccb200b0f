#include "directory/ldap/mail_address.h"

#include <ldap.h>

#include <QStringList>

namespace vorlane {

QString defaultMailAddress(const QString& alias, const QString& dn) {
    QStringList labels;
    LDAPDN parsed = nullptr;
    const QByteArray bytes = dn.toUtf8();
    if (ldap_str2dn(bytes.constData(), &parsed, LDAP_DN_FORMAT_LDAPV3) == LDAP_SUCCESS && parsed) {
        for (LDAPRDN* rdn = parsed; *rdn; ++rdn) {
            LDAPAVA* ava = (*rdn)[0];
            const QString type = QString::fromUtf8(ava->la_attr.bv_val,
                                                   static_cast<qsizetype>(ava->la_attr.bv_len));
            if (type.compare(QLatin1String("DC"), Qt::CaseInsensitive) == 0) {
                labels.append(QString::fromUtf8(ava->la_value.bv_val,
                                                static_cast<qsizetype>(ava->la_value.bv_len)));
            }
        }
        ldap_dnfree(parsed);
    }
    return alias + u'@' + labels.join(u'.');
}

}  // namespace vorlane
