#include "picker/picker_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "qstring_printer.h"
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
const QString kEast = QStringLiteral("OU=East,OU=Sales,DC=example,DC=com");
const QString kBerlin = QStringLiteral("OU=Berlin,OU=East,OU=Sales,DC=example,DC=com");
const QString kUsers = QStringLiteral("CN=Users,DC=example,DC=com");
const QString kRootRefused = QStringLiteral("You can not select the root container!");
const QString kNothingChosen = QStringLiteral("No container is selected!");

constexpr int kKeyRole = Qt::UserRole;

class PickerDialogTest : public ::testing::Test {
  protected:
    PickerDialogTest() {
        domain.addOu(kSales);
        domain.addContainer(kUsers);
        domain.addOu(kEast);
        domain.addOu("OU=West," + kSales);
        domain.addOu(kBerlin);
        dialog.setContainerPath(QString());
    }

    QTreeWidget* tvAD() { return dialog.findChild<QTreeWidget*>("tvAD"); }
    QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(name); }
    QTimer* tmrRoot() { return dialog.findChild<QTimer*>("tmrRoot"); }

    QTreeWidgetItem* item(const QString& key) {
        for (QTreeWidgetItemIterator it(tvAD()); *it; ++it) {
            if ((*it)->data(0, kKeyRole).toString() == key) return *it;
        }
        return nullptr;
    }
    bool checked(const QString& key) {
        QTreeWidgetItem* node = item(key);
        return node && node->checkState(0) == Qt::Checked;
    }
    QStringList checkedKeys() {
        QStringList keys;
        for (QTreeWidgetItemIterator it(tvAD(), QTreeWidgetItemIterator::Checked); *it; ++it) {
            keys.append((*it)->data(0, kKeyRole).toString());
        }
        return keys;
    }
    // The operator clicks the node's box: the view sets the check state through the model.
    void click(const QString& key, bool check) {
        QTreeWidgetItem* node = item(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        tvAD()->model()->setData(indexOf(node), check ? Qt::Checked : Qt::Unchecked,
                                 Qt::CheckStateRole);
    }
    QModelIndex indexOf(QTreeWidgetItem* node) {
        if (!node->parent()) return tvAD()->model()->index(tvAD()->indexOfTopLevelItem(node), 0);
        return tvAD()->model()->index(node->parent()->indexOfChild(node), 0,
                                      indexOf(node->parent()));
    }
    // The next widget that Tab moves to (the tree's own parts do not take the focus).
    QWidget* nextTabStop(QWidget* from) {
        for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && !from->isAncestorOf(w)) return w;
        }
        return nullptr;
    }
    void openWith(const QString& path) {
        dialog.setContainerPath(path);
        dialog.show();
    }
    // Lets the timer fire (it is started for a preselection and after a refused root).
    bool timerFired() {
        return QTest::qWaitFor([this] { return !tmrRoot()->isActive(); }, 2000);
    }

    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    PickerLogRecorder log;
    RecordingMessages messages;
    PickerDialog dialog{probe, log.log(), messages};
};

TEST_F(PickerDialogTest, IsAFixedToolWindowWithItsControls) {
    EXPECT_EQ(dialog.objectName(), "frmADSI");
    EXPECT_EQ(dialog.windowTitle(), "DEZ Distribution Lists");
    EXPECT_EQ(dialog.minimumSize(), QSize(312, 347));
    EXPECT_EQ(dialog.maximumSize(), QSize(312, 347));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(dialog.isModal());

    auto* label = dialog.findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Select container where DEZ DLs will be created");
    ASSERT_NE(tvAD(), nullptr);
    EXPECT_EQ(tvAD()->geometry(), QRect(8, 24, 289, 273));
    ASSERT_NE(button("cmdOK"), nullptr);
    ASSERT_NE(button("cmdCancel"), nullptr);
    EXPECT_EQ(button("cmdOK")->text(), "OK");
    EXPECT_TRUE(button("cmdOK")->isDefault());
    EXPECT_EQ(button("cmdCancel")->text(), "Cancel");
    EXPECT_FALSE(button("cmdCancel")->isDefault());
    EXPECT_EQ(nextTabStop(tvAD()), button("cmdOK"));
    EXPECT_EQ(nextTabStop(button("cmdOK")), button("cmdCancel"));
    EXPECT_EQ(nextTabStop(button("cmdCancel")), tvAD());

    ASSERT_NE(tmrRoot(), nullptr);
    EXPECT_TRUE(tmrRoot()->isSingleShot());
    EXPECT_EQ(tmrRoot()->interval(), 5);
    EXPECT_FALSE(tmrRoot()->isActive());
}

TEST_F(PickerDialogTest, LoadsTheRootAndFirstLevelWhenShown) {
    EXPECT_EQ(probe.queryCount(), 0);
    openWith("");

    EXPECT_EQ(probe.queryCount(), 1);
    ASSERT_EQ(tvAD()->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tvAD()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "example.com");
    EXPECT_TRUE(root->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(root->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(root->icon(0).isNull());
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), "Sales");
    EXPECT_FALSE(root->child(0)->icon(0).isNull());
    EXPECT_TRUE(root->child(0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(tmrRoot()->isActive());
    EXPECT_TRUE(log.lines().contains("added root node"));
}

TEST_F(PickerDialogTest, ExpandingANodeLoadsItsChildrenOnce) {
    openWith("");
    item(kSales)->setExpanded(true);

    EXPECT_EQ(probe.queryCount(), 2);
    QTreeWidgetItem* sales = item(kSales);
    ASSERT_EQ(sales->childCount(), 2);
    EXPECT_EQ(sales->child(0)->text(0), "East");

    sales->setExpanded(false);
    sales->setExpanded(true);
    EXPECT_EQ(probe.queryCount(), 2);
}

TEST_F(PickerDialogTest,
       PreselectedContainerThreeLevelsDownIsTickedAndVisibleWithOneQueryPerLevel) {
    openWith(kBerlin);
    EXPECT_TRUE(tmrRoot()->isActive());
    ASSERT_TRUE(timerFired());

    EXPECT_EQ(probe.queryCount(), 3);
    EXPECT_EQ(checkedKeys(), QStringList{kBerlin});
    for (QTreeWidgetItem* up = item(kBerlin)->parent(); up; up = up->parent()) {
        EXPECT_TRUE(up->isExpanded()) << up->text(0).toStdString();
    }
    EXPECT_FALSE(item(kBerlin)->isHidden());
    EXPECT_EQ(dialog.containerPath(), kBerlin);

    // The tree passes the program's tick on: the preselected container is the selection.
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    button("cmdOK")->click();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog.containerPath(), kBerlin);
}

TEST_F(PickerDialogTest, PreselectionInOtherCaseComesBackInTheDirectorysCase) {
    openWith("ou=east,ou=sales,dc=example,dc=com");
    ASSERT_TRUE(timerFired());
    EXPECT_EQ(checkedKeys(), QStringList{kEast});

    button("cmdOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.containerPath(), kEast);
}

TEST_F(PickerDialogTest, TickingTheRootIsRefusedAndUndoneByTheTimer) {
    openWith("");
    click(kSales, true);

    click(kRoot, true);

    EXPECT_EQ(messages.texts, QStringList{kRootRefused});
    ASSERT_FALSE(messages.parents.isEmpty());
    EXPECT_EQ(messages.parents.last(), &dialog);
    EXPECT_TRUE(checked(kRoot));
    EXPECT_TRUE(checked(kSales));
    // Changes other than of the check state are not ticks.
    item(kRoot)->setText(0, "example.com (renamed)");
    item(kRoot)->setToolTip(0, "tip");
    EXPECT_EQ(messages.texts.size(), 1);

    ASSERT_TRUE(timerFired());
    EXPECT_EQ(checkedKeys(), QStringList{kSales});
    button("cmdOK")->click();
    EXPECT_EQ(dialog.containerPath(), kSales);
}

TEST_F(PickerDialogTest, AfterARefusedRootThePreselectionIsShownAgainWhileNothingIsChosen) {
    openWith(kEast);
    ASSERT_TRUE(timerFired());
    click(kEast, false);
    EXPECT_TRUE(checkedKeys().isEmpty());

    click(kRoot, true);
    ASSERT_TRUE(timerFired());

    EXPECT_EQ(checkedKeys(), QStringList{kEast});
}

TEST_F(PickerDialogTest, TickingAnotherNodeUnticksTheFirstAndOkHandsItsKeyBack) {
    openWith(kSales);
    ASSERT_TRUE(timerFired());

    click(kUsers, true);
    EXPECT_EQ(checkedKeys(), QStringList{kUsers});
    click(kSales, true);
    EXPECT_EQ(checkedKeys(), QStringList{kSales});
    click(kUsers, true);
    EXPECT_EQ(checkedKeys(), QStringList{kUsers});
    EXPECT_EQ(dialog.containerPath(), kSales);

    QSignalSpy finished(&dialog, &QDialog::finished);
    button("cmdOK")->click();

    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.containerPath(), kUsers);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(PickerDialogTest, OkWithNothingChosenSaysSoAndStaysOpen) {
    openWith("");
    click(kUsers, true);
    click(kUsers, false);

    button("cmdOK")->click();

    EXPECT_EQ(messages.texts, QStringList{kNothingChosen});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.containerPath(), "");
}

TEST_F(PickerDialogTest, EnterInTheTreePressesOk) {
    openWith("");
    QTest::keyClick(tvAD(), Qt::Key_Return);
    EXPECT_EQ(messages.texts, QStringList{kNothingChosen});

    click(kUsers, true);
    QTest::keyClick(tvAD(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.containerPath(), kUsers);
}

TEST_F(PickerDialogTest, OkOnAnUnreachableDirectoryFindsNothingChosen) {
    probe.setUnreachable(true);
    openWith(kSales);
    ASSERT_TRUE(timerFired());

    EXPECT_EQ(tvAD()->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.containerPath(), "");
    button("cmdOK")->click();
    EXPECT_EQ(messages.texts, QStringList{kNothingChosen});
}

TEST_F(PickerDialogTest, APathOutsideTheDomainIsEmptied) {
    openWith("OU=Sales,DC=other,DC=com");
    ASSERT_TRUE(timerFired());

    EXPECT_TRUE(checkedKeys().isEmpty());
    EXPECT_EQ(dialog.containerPath(), "");
}

// Cancel, Esc and the close box keep the caller's value and unload the window.
TEST(PickerDialogClosing, EveryWayButOkKeepsTheCallersValueAndClosesTheConnection) {
    const std::vector<std::function<void(PickerDialog&)>> closings = {
        [](PickerDialog& d) { d.findChild<QPushButton*>("cmdCancel")->click(); },
        [](PickerDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](PickerDialog& d) { d.close(); },
    };
    for (std::size_t i = 0; i < closings.size(); ++i) {
        PickerFakeDirectory domain{kRoot};
        domain.addOu(kSales);
        domain.addContainer(kUsers);
        PickerDirectoryProbe probe{domain};
        PickerLogRecorder log;
        RecordingMessages messages;
        PickerDialog dialog{probe, log.log(), messages};
        const QString preset = "cn=users,DC=example,DC=com";
        dialog.setContainerPath(preset);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !dialog.findChild<QTimer*>("tmrRoot")->isActive(); }, 2000));
        auto* tree = dialog.findChild<QTreeWidget*>("tvAD");
        tree->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);  // Sales

        closings[i](dialog);

        EXPECT_FALSE(dialog.isVisible()) << i;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << i;
        EXPECT_EQ(dialog.containerPath(), preset) << i;
        EXPECT_EQ(probe.connectionsCreated(), 1) << i;
        EXPECT_EQ(probe.connectionsClosed(), 1) << i;
    }
}

}  // namespace
}  // namespace vorlane
