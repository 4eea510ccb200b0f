#pragma once

#include <QString>

namespace vorlane {

// A value for an LDAP filter, with "*", "(", ")", "\" and NUL escaped as the filter syntax asks.
QString escapeFilterValue(const QString& value);

}  // namespace vorlane
