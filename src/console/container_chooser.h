#pragma once

#include <QString>

class QWidget;

namespace vorlane {

// "Select...": shows a new container picker modally over owner, preset to containerPath, and
// returns the picker's ContainerPath after it has closed (the chosen container's DN on OK; the
// preset, or empty text when the picker emptied it, on Cancel).
class ContainerChooser {
public:
    virtual ~ContainerChooser() = default;
    virtual QString chooseContainer(QWidget* owner, const QString& containerPath) = 0;
};

}  // namespace vorlane
