#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "common/operator_messages.h"

namespace vorlane::testing {

// Answers the operator's message boxes at once and keeps their texts and parents.
class PickerRecordingMessages : public OperatorMessages {
  public:
    void showCritical(QWidget* parent, const QString& text) override {
        texts.append(text);
        lastParent = parent;
    }

    QStringList texts;
    QPointer<QWidget> lastParent;
};

}  // namespace vorlane::testing
