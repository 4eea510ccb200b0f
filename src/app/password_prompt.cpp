#include "app/password_prompt.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>

namespace vorlane {

std::unique_ptr<QInputDialog> passwordDialog(QWidget* parent, const QString& account) {
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setWindowTitle(QStringLiteral("Vorlane"));
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setLabelText(QStringLiteral("Password for ") + account + u':');
    dialog->setTextEchoMode(QLineEdit::Password);
    return dialog;
}

PasswordCallback passwordPrompt(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](const QString& account) -> std::optional<QString> {
        // The directory asks at its first use, over the window the operator works in.
        QWidget* over = owner ? owner.data() : QApplication::activeWindow();
        auto dialog = passwordDialog(over, account);
        if (dialog->exec() != QDialog::Accepted) return std::nullopt;
        QString password = dialog->textValue();
        dialog->setTextValue(QString());
        return password;
    };
}

}  // namespace vorlane
