#pragma once

#include <QString>

namespace vorlane {

// The SMTP address that mail-enabling gives an object without a target address: its alias at
// the DNS name of its domain (the DC= parts of its DN), "alias@example.com".
QString defaultMailAddress(const QString& alias, const QString& dn);

}  // namespace vorlane
