#pragma once

#include <QString>
#include <QStringList>

#include "common/operator_messages.h"

class QWidget;

namespace vorlane::testing {

// Answers every message box at once and keeps what it was asked to show.
class RecordingMessages : public OperatorMessages {
  public:
    void showCritical(QWidget* parent, const QString& text) override {
        parents.append(parent);
        texts.append(text);
    }

    QList<QWidget*> parents;
    QStringList texts;
};

}  // namespace vorlane::testing
