#pragma once

#include <QString>

#include "console/console_procedures.h"
#include "console/container_chooser.h"

namespace vorlane {

// Stand-ins until the directory procedures are connected: no lookup result, no directory
// work, and nothing logged.
class NotYetWiredProcedures : public ConsoleProcedures {
  public:
    QString getADsPathFromSMTP(const QString&) override { return {}; }
    void createADGroup(const QString&, const MemberPathList&, const QString&) override {}
};

// Stand-in until the container picker is connected: hands the preset back unchanged.
class NotYetWiredChooser : public ContainerChooser {
  public:
    QString chooseContainer(QWidget*, const QString& containerPath) override {
        return containerPath;
    }
};

}  // namespace vorlane
