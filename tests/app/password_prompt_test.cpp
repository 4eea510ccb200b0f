#include "app/password_prompt.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace vorlane {
namespace {

TEST(PasswordPrompt, AsksForTheAccountsPasswordMasked) {
    auto dialog = passwordDialog(nullptr, QStringLiteral("CN=Admin,CN=Users,DC=example,DC=com"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vorlane"));
    EXPECT_EQ(dialog->labelText(),
              QStringLiteral("Password for CN=Admin,CN=Users,DC=example,DC=com:"));
    EXPECT_EQ(dialog->textEchoMode(), QLineEdit::Password);
    auto* field = dialog->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
}

}  // namespace
}  // namespace vorlane
