#pragma once

#include <QInputDialog>
#include <QString>
#include <memory>

#include "directory/ldap/password_callback.h"

namespace vorlane {

// The directory's password callback for a simple bind: a masked dialog over parent (null: the
// active window when it asks) that asks the bind DN's password; Cancel gives no value.
PasswordCallback passwordPrompt(QWidget* parent);

// The dialog that passwordPrompt runs modally for an account.
std::unique_ptr<QInputDialog> passwordDialog(QWidget* parent, const QString& account);

}  // namespace vorlane
