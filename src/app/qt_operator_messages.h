#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

#include "common/operator_messages.h"

namespace vorlane {

// The operator's message boxes as Qt shows them: critical icon, OK alone, title "Vorlane".
class QtOperatorMessages : public OperatorMessages {
  public:
    void showCritical(QWidget* parent, const QString& text) override;

    // The box that showCritical runs modally over parent.
    static std::unique_ptr<QMessageBox> criticalBox(QWidget* parent, const QString& text);
};

}  // namespace vorlane
