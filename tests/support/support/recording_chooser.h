#pragma once

#include <QString>
#include <QStringList>

#include "console/container_chooser.h"

class QWidget;

namespace vorlane::testing {

// Stands for the container picker: returns answer (the preset itself when answer is unset)
// and keeps the owner and preset that it was given.
class RecordingChooser : public ContainerChooser {
  public:
    QString chooseContainer(QWidget* owner, const QString& containerPath) override {
        owners.append(owner);
        presets.append(containerPath);
        return answerGiven ? answer : containerPath;
    }

    void answerWith(const QString& path) {
        answer = path;
        answerGiven = true;
    }

    QString answer;
    bool answerGiven = false;
    QList<QWidget*> owners;
    QStringList presets;
};

}  // namespace vorlane::testing
