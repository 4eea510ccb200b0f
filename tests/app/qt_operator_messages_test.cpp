#include "app/qt_operator_messages.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace vorlane {
namespace {

TEST(QtOperatorMessages, CriticalBoxHasStopIconOkAloneAndTheProgramTitle) {
    QWidget owner;
    const auto box =
        QtOperatorMessages::criticalBox(&owner, QStringLiteral("Enter the group name"));

    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Vorlane"));
    EXPECT_EQ(box->text(), QStringLiteral("Enter the group name"));
    EXPECT_EQ(box->parentWidget(), &owner);
}

}  // namespace
}  // namespace vorlane
