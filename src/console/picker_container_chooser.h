#pragma once

#include "console/container_chooser.h"

namespace vorlane {

class ActivityLog;
class Directory;
class OperatorMessages;

// "Select..." through the container picker: a new picker window for every choice, shown
// modally over (and centred on) the owner, read after it has closed and then released.
class PickerContainerChooser : public ContainerChooser {
  public:
    PickerContainerChooser(Directory& directory, ActivityLog& log, OperatorMessages& messages)
        : directory_(directory), log_(log), messages_(messages) {}

    QString chooseContainer(QWidget* owner, const QString& containerPath) override;

  private:
    Directory& directory_;
    ActivityLog& log_;
    OperatorMessages& messages_;
};

}  // namespace vorlane
