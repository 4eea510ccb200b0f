#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vorlane {

// The member path list: one element (a user's ADsPath, or empty text when the lookup found
// nothing) when "Add User" is checked; unallocated (no list at all) otherwise.
using MemberPathList = std::optional<QStringList>;

// The directory procedures that the "Create Group" handler hands a checked request to.
class ConsoleProcedures {
public:
    virtual ~ConsoleProcedures() = default;
    // The ADsPath of the entry whose mail is smtp, or empty text.
    virtual QString getADsPathFromSMTP(const QString& smtp) = 0;
    // Creates or reports the group and adds the members; reports through the activity log.
    virtual void createADGroup(const QString& groupName, const MemberPathList& memberPaths,
                               const QString& containerPath) = 0;
};

}  // namespace vorlane
