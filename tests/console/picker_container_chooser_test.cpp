#include "console/picker_container_chooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "picker/picker_dialog.h"
#include "support/picker_directory_probe.h"
#include "support/picker_fake_directory.h"
#include "support/picker_log_recorder.h"
#include "support/picker_recording_messages.h"

namespace vorlane {
namespace {

using testing::PickerDirectoryProbe;
using testing::PickerFakeDirectory;
using testing::PickerLogRecorder;
using testing::PickerRecordingMessages;

const QString kRoot = QStringLiteral("DC=example,DC=com");
const QString kSales = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kUsers = QStringLiteral("CN=Users,DC=example,DC=com");

// What the operator does in the picker while it is shown modally; it is then closed in any
// case, so that a failing test does not hang in the picker's modal loop.
struct Operator {
    std::function<void(PickerDialog&)> act;
    QPointer<PickerDialog> seen;
    QWidget* seenOwner = nullptr;
    QPoint seenCentre;
    bool wasModal = false;

    void watch() {
        QTimer::singleShot(10, [this] {
            auto* picker = qobject_cast<PickerDialog*>(QApplication::activeModalWidget());
            if (!picker) {
                watch();
                return;
            }
            seen = picker;
            seenOwner = picker->parentWidget();
            seenCentre = picker->geometry().center();
            wasModal = picker->isModal();
            if (!QTest::qWaitFor(
                    [picker] { return !picker->findChild<QTimer*>("tmrRoot")->isActive(); },
                    2000)) {
                ADD_FAILURE() << "the picker's timer did not fire";
            }
            act(*picker);
            if (picker->isVisible()) picker->reject();
        });
    }
};

class PickerContainerChooserTest : public ::testing::Test {
  protected:
    PickerContainerChooserTest() {
        domain.addOu(kSales);
        domain.addContainer(kUsers);
        owner.setGeometry(100, 100, 326, 452);
        owner.show();
    }

    QString choose(const QString& preset, std::function<void(PickerDialog&)> act) {
        op.act = std::move(act);
        op.watch();
        return chooser.chooseContainer(&owner, preset);
    }

    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    PickerLogRecorder log;
    PickerRecordingMessages messages;
    PickerContainerChooser chooser{probe, log.log(), messages};
    QWidget owner;
    Operator op;
};

TEST_F(PickerContainerChooserTest, ShowsANewModalPickerOverTheOwnerAndReturnsTheTickedPath) {
    const QString chosen = choose(kSales, [](PickerDialog& picker) {
        auto* tree = picker.findChild<QTreeWidget*>("tvAD");
        tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked);  // Users
        picker.findChild<QPushButton*>("cmdOK")->click();
    });

    EXPECT_EQ(chosen, kUsers);
    EXPECT_EQ(op.seenOwner, &owner);
    EXPECT_TRUE(op.wasModal);
    EXPECT_LE((op.seenCentre - owner.geometry().center()).manhattanLength(), 2);
    // Released after it was read: no picker window is left.
    EXPECT_TRUE(op.seen.isNull());
    EXPECT_EQ(probe.connectionsClosed(), 1);
    // The picker's lines went to the log that the chooser was given.
    EXPECT_TRUE(log.lines().contains("added root node"));
}

TEST_F(PickerContainerChooserTest, CancelReturnsThePresetAndEachUseStartsAfresh) {
    const QString preset = "ou=sales,dc=example,dc=com";
    EXPECT_EQ(
        choose(preset,
               [](PickerDialog& picker) { picker.findChild<QPushButton*>("cmdCancel")->click(); }),
        preset);

    EXPECT_EQ(
        choose("",
               [](PickerDialog& picker) { picker.findChild<QPushButton*>("cmdCancel")->click(); }),
        "");
    EXPECT_EQ(probe.connectionsCreated(), 2);
    EXPECT_EQ(probe.connectionsClosed(), 2);
}

}  // namespace
}  // namespace vorlane
