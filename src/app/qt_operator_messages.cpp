#include "app/qt_operator_messages.h"

namespace vorlane {

std::unique_ptr<QMessageBox> QtOperatorMessages::criticalBox(QWidget* parent, const QString& text) {
    return std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("Vorlane"), text,
                                         QMessageBox::Ok, parent);
}

void QtOperatorMessages::showCritical(QWidget* parent, const QString& text) {
    criticalBox(parent, text)->exec();  // the answer is of no interest
}

}  // namespace vorlane
