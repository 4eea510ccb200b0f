#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "common/result.h"

namespace vorlane::embedded {

// A parsed search filter (RFC 4515).
struct Filter {
    enum class Kind {
        And,
        Or,
        Not,
        Equality,
        Present,
        Substrings,
        GreaterOrEqual,
        LessOrEqual,
        Approx,
        Extensible
    };
    Kind kind = Kind::Present;
    QString attribute;  // lower case, options removed; empty for an extensible match without one
    QString value;      // the assertion value, unescaped
    // Substrings: initial*any1*any2*final; an empty initial or final means none.
    QString initial;
    QStringList any;
    QString final;
    QString matchingRule;  // extensible match only
    std::vector<Filter> children;
};

// Parses a filter. Besides the RFC's form it takes what the platform's provider takes: an item
// without its parentheses ("mail=x") and a filter in a redundant pair of them ("((mail=x))").
// Anything else that does not parse fails with the filter-error failure (0x8007203E).
Result<Filter> parseFilter(const QString& text);

// The values of an attribute (name in lower case), or nullptr when the entry has none.
using AttributeValues = std::function<const QStringList*(const QString& lowerName)>;

// Whether an entry matches. Values compare without regard to letter case, integers as numbers,
// DN-valued attributes (member, distinguishedName, ...) by their normalized names; the AD
// bitwise matching rules (1.2.840.113556.1.4.803 and .804) are understood.
bool matches(const Filter& filter, const AttributeValues& values);

// Whether values of this attribute are distinguished names (compared as names).
bool isDnValuedAttribute(const QString& lowerName);

}  // namespace vorlane::embedded
