#pragma once

#include <QString>

#include "common/result.h"

namespace vorlane {

// A parsed ADsPath: "LDAP://rootDSE", "LDAP://" + DN or "LDAP://server/DN".
struct AdsPath {
    QString server;  // empty for a serverless path
    QString dn;      // the distinguished name, "\/" turned back into "/"; empty for rootDSE
    bool rootDse = false;
};

// Splits a path. The "LDAP://" prefix is upper case (the provider's name); the server, when
// there is one, ends at the first "/" that is not escaped. A path without the prefix or without
// a distinguished name fails with failures::badPathname(). The DN itself is not checked here.
Result<AdsPath> parseAdsPath(const QString& path);

// "LDAP://" + [server + "/"] + dn, with "/" in the DN written "\/".
QString formatAdsPath(const QString& server, const QString& dn);

}  // namespace vorlane
