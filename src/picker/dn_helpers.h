#pragma once

#include <QString>

// Turn what the directory returns into the keys and texts of the picker's tree nodes. They
// treat names as plain text: no escape or quoting of a distinguished name is interpreted.
// Positions count 16-bit (UTF-16) characters.

namespace vorlane {

// The path without "LDAP://": every occurrence goes, found in any letter case from left to
// right, without looking again at what the removal joins together.
QString StripLdapPrefix(const QString& path);

// The text strictly between the first "=" and the first "," ("Sales" from
// "LDAP://OU=Sales,DC=example,DC=com"); empty when either is missing, when the "," comes
// first, and when either stands only beyond the 32,767th character.
QString GetFirstRdnValue(const QString& dn);

// "DC=example,DC=com" as "example.com": removes every upper-case "CN=", then "DC=", then
// "OU=", then turns every "," into ".".
QString DnToDottedName(const QString& dn);

}  // namespace vorlane
