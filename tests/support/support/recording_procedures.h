#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "console/console_procedures.h"

namespace vorlane::testing {

// Console procedures that do no directory work: the lookup answers lookupResult, and every
// call is recorded; calls names the calls in the order in which they came.
class RecordingProcedures : public ConsoleProcedures {
  public:
    struct CreateCall {
        QString groupName;
        MemberPathList memberPaths;
        QString containerPath;
    };

    QString getADsPathFromSMTP(const QString& smtp) override {
        calls.append(QStringLiteral("getADsPathFromSMTP"));
        lookups.append(smtp);
        return lookupResult;
    }

    void createADGroup(const QString& groupName, const MemberPathList& memberPaths,
                       const QString& containerPath) override {
        calls.append(QStringLiteral("createADGroup"));
        creates.push_back({groupName, memberPaths, containerPath});
    }

    QString lookupResult;
    QStringList calls;
    QStringList lookups;
    std::vector<CreateCall> creates;
};

}  // namespace vorlane::testing
