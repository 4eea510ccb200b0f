#pragma once

#include <QSet>
#include <QString>

namespace vorlane {

// The domain part of a DN: its DC= RDNs ("DC=example,DC=com"), and their DNS name
// ("example.com").
QString domainDnOf(const QString& dn);
QString dnsDomainOf(const QString& dn);

// The alias that mail-enabling without a target address gives: the account name, numbered 2, 3,
// ... while alias@domain is among the addresses that other objects carry (lower case).
QString freeAlias(const QString& alias, const QString& dnsDomain, const QSet<QString>& taken);

}  // namespace vorlane
