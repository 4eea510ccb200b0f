#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace vorlane {

class Directory;
class DirectoryGroup;

// The group-type value for a scope keyword, compared after upper-casing and without trimming:
// "LOCAL" and "DOMAIN LOCAL" 4, "GLOBAL" 2, "UNIVERSAL" 8, with the security flag 0x80000000
// when security is set (a negative number); no value for any other keyword.
std::optional<qint32> groupTypeForKeyword(const QString& keyword, bool security);

// Creates a mail-enabled group "cn=" + groupName in the container at containerPath (a whole
// ADsPath), with the given account name and scope keyword, as a security group when security
// is set. Every step is attempted; the group comes back only when its creation, both commits
// and the mail-enabling succeeded. An unknown keyword touches no directory. Logs nothing.
std::unique_ptr<DirectoryGroup> createDL(Directory& directory, const QString& containerPath,
                                         const QString& groupName, const QString& samAccountName,
                                         const QString& groupTypeKeyword, bool security);

}  // namespace vorlane
