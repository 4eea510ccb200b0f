#pragma once

#include <QString>
#include <QStringList>

#include "common/result.h"

namespace vorlane {

enum class SearchScope { Base, OneLevel, Subtree };

// A four-part query text "<LDAP://base>;filter;attr1,attr2;scope", taken apart.
struct CommandText {
    QString basePath;        // the path inside the angle brackets
    QString filter;          // as written, not parsed
    QStringList attributes;  // requested names, trimmed, in order
    SearchScope scope = SearchScope::Subtree;
};

// Anything not of four parts, a base without angle brackets, an empty attribute list or an
// unknown scope fails with failures::invalidFilter(). Scope names match in any letter case.
Result<CommandText> parseCommandText(const QString& text);

}  // namespace vorlane
