#pragma once

#include <QString>

namespace vorlane {

// A value for an LDAP search filter (RFC 4515): "*", "(", ")", "\", NUL and every non-ASCII
// octet as a backslash and two hex digits. ";" is escaped too (\3b, as the filter syntax
// allows for any octet), because the four-part query text uses it to separate its parts.
QString escapeFilterValue(const QString& value);

// An attribute value for a relative distinguished name (RFC 4514): a backslash before each of
// " + , ; < > \, before a leading blank or "#" and a trailing blank; NUL as \00.
QString escapeRdnValue(const QString& value);

// A distinguished name written into an ADsPath, where "/" would end the server part: "\/".
QString escapeForAdsPath(const QString& dn);

}  // namespace vorlane
