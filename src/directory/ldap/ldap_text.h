#pragma once

#include <QString>

#include "common/ldap_escaping.h"

namespace vorlane {

// The filter without redundant pairs of parentheses around it: "((mail=x))" as "(mail=x)",
// which directory servers accept and libldap's parser does not.
QString withoutRedundantParentheses(const QString& filter);

}  // namespace vorlane
