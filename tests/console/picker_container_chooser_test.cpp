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
#include "support/recording_messages.h"

namespace vorlane {
namespace {

using testing::PickerDirectoryProbe;
using testing::PickerFakeDirectory;
using testing::PickerLogRecorder;
using testing::RecordingMessages;

const QString kRoot = QStringLiteral("DC=example,DC=com");
const QString kSales = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kUsers = QStringLiteral("CN=Users,DC=example,DC=com");

// What was seen of the picker while it was shown.
struct Seen {
    QPointer<PickerDialog> picker;
    QWidget* owner = nullptr;
    QPoint centre;
    bool modal = false;
};

class PickerContainerChooserTest : public ::testing::Test {
  protected:
    PickerContainerChooserTest() {
        domain.addOu(kSales);
        domain.addContainer(kUsers);
        owner.setGeometry(100, 100, 326, 452);
        owner.show();
    }

    // Chooses with preset; once the picker is up and has reopened its tree, act works in it.
    // The picker is then closed in any case, so that a failure cannot hang the test.
    QString choose(const QString& preset, const std::function<void(PickerDialog&)>& act) {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* picker = qobject_cast<PickerDialog*>(QApplication::activeModalWidget());
            if (!picker) return;
            poll.stop();
            seen = {picker, picker->parentWidget(), picker->geometry().center(), picker->isModal()};
            EXPECT_TRUE(QTest::qWaitFor(
                [picker] { return !picker->findChild<QTimer*>("tmrRoot")->isActive(); }, 2000));
            act(*picker);
            if (picker->isVisible()) picker->reject();
        });
        poll.start();
        const QString chosen = chooser.chooseContainer(&owner, preset);
        EXPECT_FALSE(poll.isActive()) << "no picker was shown";
        return chosen;
    }

    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    PickerLogRecorder log;
    RecordingMessages messages;
    PickerContainerChooser chooser{probe, log.log(), messages};
    QWidget owner;
    Seen seen;
};

TEST_F(PickerContainerChooserTest, ShowsANewModalPickerOverTheOwnerAndReturnsTheTickedPath) {
    const QString chosen = choose(kSales, [](PickerDialog& picker) {
        auto* tree = picker.findChild<QTreeWidget*>("tvAD");
        tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked);  // Users
        picker.findChild<QPushButton*>("cmdOK")->click();
    });

    EXPECT_EQ(chosen, kUsers);
    EXPECT_EQ(seen.owner, &owner);
    EXPECT_TRUE(seen.modal);
    EXPECT_LE((seen.centre - owner.geometry().center()).manhattanLength(), 2);
    // Released after it was read: no picker window is left.
    EXPECT_TRUE(seen.picker.isNull());
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
