#pragma once

#include <QString>

namespace vorlane {

// A value for an LDAP filter, with "*", "(", ")", "\" and NUL escaped as the filter syntax asks.
QString escapeFilterValue(const QString& value);

// The filter without redundant pairs of parentheses around it: "((mail=x))" as "(mail=x)",
// which directory servers accept and libldap's parser does not.
QString withoutRedundantParentheses(const QString& filter);

}  // namespace vorlane
