#pragma once

#include <QString>

class QWidget;

namespace vorlane {

// The message boxes that answer the operator's input errors: critical icon, a single OK
// button, title "Vorlane". Windows ask through this, so that tests can answer instead.
class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    // Shows text over parent and returns when the operator has dismissed it.
    virtual void showCritical(QWidget* parent, const QString& text) = 0;
};

}  // namespace vorlane
