#include "console/picker_container_chooser.h"

#include "picker/picker_dialog.h"

namespace vorlane {

QString PickerContainerChooser::chooseContainer(QWidget* owner, const QString& containerPath) {
    PickerDialog picker(directory_, log_, messages_, owner);
    picker.setContainerPath(containerPath);
    picker.exec();
    return picker.containerPath();
}

}  // namespace vorlane
