#include "directory/ldap/mail_address.h"

#include <ldap.h>

#include <QStringList>

namespace vorlane {

namespace {

// The DN's RDNs as (type, value, text as written) from libldap's parser; empty when it does not
// parse.
struct Rdn {
    QString type;
    QString value;
};

std::vector<Rdn> rdnsOf(const QString& dn) {
    std::vector<Rdn> rdns;
    LDAPDN parsed = nullptr;
    const QByteArray bytes = dn.toUtf8();
    if (ldap_str2dn(bytes.constData(), &parsed, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS || !parsed) {
        return rdns;
    }
    for (LDAPRDN* rdn = parsed; *rdn; ++rdn) {
        const LDAPAVA* ava = (*rdn)[0];
        rdns.push_back(
            {QString::fromUtf8(ava->la_attr.bv_val, static_cast<qsizetype>(ava->la_attr.bv_len)),
             QString::fromUtf8(ava->la_value.bv_val,
                               static_cast<qsizetype>(ava->la_value.bv_len))});
    }
    ldap_dnfree(parsed);
    return rdns;
}

// The trailing DC= values.
QStringList domainLabels(const QString& dn) {
    QStringList labels;
    const std::vector<Rdn> rdns = rdnsOf(dn);
    for (auto rdn = rdns.rbegin(); rdn != rdns.rend(); ++rdn) {
        if (rdn->type.compare(QLatin1String("DC"), Qt::CaseInsensitive) != 0) break;
        labels.prepend(rdn->value);
    }
    return labels;
}

}  // namespace

QString domainDnOf(const QString& dn) {
    QStringList parts;
    for (const QString& label : domainLabels(dn)) parts.append(QStringLiteral("DC=") + label);
    return parts.join(u',');
}

QString dnsDomainOf(const QString& dn) {
    return domainLabels(dn).join(u'.');
}

QString freeAlias(const QString& alias, const QString& dnsDomain, const QSet<QString>& taken) {
    QString candidate = alias;
    for (int number = 2; taken.contains((candidate + u'@' + dnsDomain).toLower()); ++number) {
        candidate = alias + QString::number(number);
    }
    return candidate;
}

}  // namespace vorlane
