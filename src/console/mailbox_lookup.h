#pragma once

#include <QString>

namespace vorlane {

class Directory;

// The four-part query that finds the entries whose mail is smtp under the domain at basePath;
// the address is escaped as a filter value, so that it can only ever match itself.
QString mailQueryText(const QString& basePath, const QString& smtp);

// "LDAP://" + the distinguished name of the first entry whose mail is smtp, searched in the
// whole default domain; empty text when no entry carries it and on every failure. Logs nothing.
QString getADsPathFromSMTP(Directory& directory, const QString& smtp);

}  // namespace vorlane
