// "Select..." on the console window, through the container picker on a small directory.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "console/console_window.h"
#include "console/picker_container_chooser.h"
#include "picker/picker_dialog.h"
#include "support/picker_directory_probe.h"
#include "support/picker_fake_directory.h"
#include "support/recording_messages.h"
#include "support/recording_procedures.h"
#include "support/temp_dir.h"

namespace vorlane {
namespace {

using testing::PickerDirectoryProbe;
using testing::PickerFakeDirectory;
using testing::RecordingMessages;
using testing::RecordingProcedures;
using testing::TempDir;

const QString kRoot = QStringLiteral("DC=example,DC=com");
const QString kSales = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kUsers = QStringLiteral("CN=Users,DC=example,DC=com");

class SelectThroughPickerTest : public ::testing::Test {
  protected:
    SelectThroughPickerTest() {
        domain.addOu(kSales);
        domain.addContainer(kUsers);
        log.setResultBox(&window);
        window.show();
    }
    ~SelectThroughPickerTest() override { log.setResultBox(nullptr); }

    QLineEdit* txtContainer() { return window.findChild<QLineEdit*>("txtContainer"); }

    // Presses "Select..." and, once the picker is up and has reopened its tree, lets act work
    // in it; the picker is closed in any case, so that a failure cannot hang the test.
    void select(const std::function<void(PickerDialog&)>& act) {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* picker = qobject_cast<PickerDialog*>(QApplication::activeModalWidget());
            if (!picker) return;
            poll.stop();
            picker_ = picker;
            EXPECT_EQ(picker->parentWidget(), &window);
            EXPECT_TRUE(QTest::qWaitFor(
                [picker] { return !picker->findChild<QTimer*>("tmrRoot")->isActive(); }, 2000));
            act(*picker);
            if (picker->isVisible()) picker->reject();
        });
        poll.start();
        window.findChild<QPushButton*>("cmdAD")->click();
        EXPECT_FALSE(poll.isActive()) << "no picker was shown";
    }

    static void tickAndOk(PickerDialog& picker, int child) {
        picker.findChild<QTreeWidget*>("tvAD")->topLevelItem(0)->child(child)->setCheckState(
            0, Qt::Checked);
        picker.findChild<QPushButton*>("cmdOK")->click();
    }

    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    TempDir dir;
    ActivityLog log{dir.file("Vorlane.log")};
    RecordingMessages messages;
    RecordingProcedures procedures;
    PickerContainerChooser chooser{probe, log, messages};
    ConsoleWindow window{procedures, messages, chooser};
    QPointer<PickerDialog> picker_;
};

TEST_F(SelectThroughPickerTest, OkPutsTheTickedContainerIntoTheFieldAndThePickerLogsIntoTheBox) {
    window.appendText("before\r\n");

    select([](PickerDialog& picker) { tickAndOk(picker, 1); });

    EXPECT_EQ(txtContainer()->text(), kUsers);
    EXPECT_TRUE(window.resultText().startsWith(
        "before\r\ndefaultNamingContext = DC=example,DC=com\r\nadded root node\r\n"));
    EXPECT_TRUE(picker_.isNull());
}

TEST_F(SelectThroughPickerTest, TheFieldChangesOnlyWhenThePathDiffersInTextOrLetterCase) {
    // The preselected container comes back in the directory's letter case.
    txtContainer()->setText("ou=sales,dc=example,dc=com");
    select([](PickerDialog& picker) { picker.findChild<QPushButton*>("cmdOK")->click(); });
    EXPECT_EQ(txtContainer()->text(), kSales);

    // The same path again: the field is left alone (its cursor stays where it was).
    txtContainer()->setText(kSales);
    txtContainer()->setCursorPosition(3);
    select([](PickerDialog& picker) { picker.findChild<QPushButton*>("cmdOK")->click(); });
    EXPECT_EQ(txtContainer()->text(), kSales);
    EXPECT_EQ(txtContainer()->cursorPosition(), 3);

    // Cancel hands the field's value back, or empty text when it lay outside the domain.
    txtContainer()->setText(kUsers);
    select([](PickerDialog& picker) {
        picker.findChild<QTreeWidget*>("tvAD")->topLevelItem(0)->child(0)->setCheckState(
            0, Qt::Checked);
        picker.findChild<QPushButton*>("cmdCancel")->click();
    });
    EXPECT_EQ(txtContainer()->text(), kUsers);
    txtContainer()->setText("OU=Sales,DC=other,DC=com");
    select([](PickerDialog& picker) { picker.findChild<QPushButton*>("cmdCancel")->click(); });
    EXPECT_EQ(txtContainer()->text(), "");
    EXPECT_EQ(probe.connectionsCreated(), probe.connectionsClosed());
}

}  // namespace
}  // namespace vorlane
