#include "picker/picker_controller.h"

#include <gtest/gtest.h>

#include "memory_container_tree.h"
#include "picker/tree_loading.h"
#include "qstring_printer.h"
#include "support/picker_directory_probe.h"
#include "support/picker_fake_directory.h"
#include "support/picker_log_recorder.h"

namespace vorlane {
namespace {

using testing::MemoryContainerTree;
using testing::PickerDirectoryProbe;
using testing::PickerFakeDirectory;
using testing::PickerLogRecorder;
using TickAnswer = PickerController::TickAnswer;

const QString kRoot = QStringLiteral("DC=example,DC=com");
const QString kSales = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kEast = QStringLiteral("OU=East,OU=Sales,DC=example,DC=com");
const QString kBerlin = QStringLiteral("OU=Berlin,OU=East,OU=Sales,DC=example,DC=com");
const QString kUsers = QStringLiteral("CN=Users,DC=example,DC=com");

class PickerControllerTest : public ::testing::Test {
  protected:
    PickerControllerTest() {
        domain.addOu(kSales);
        domain.addContainer(kUsers);
        domain.addOu(kEast);
        domain.addOu("OU=West," + kSales);
        domain.addOu(kBerlin);
        domain.addContainer("CN=Computers," + kEast);
        // An organizational unit named like the dotted domain.
        domain.addOu("OU=example.com," + kRoot);
    }

    // The window loads with path preselected; true when the timer was started.
    bool loadWith(const QString& path) {
        controller.setContainerPath(path);
        return controller.load();
    }

    // What the operator's click does to the tree before the handler runs.
    TickAnswer tick(const QString& key, bool checked) {
        tree.setChecked(key, checked);
        return controller.checkChanged(key, checked);
    }

    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    PickerLogRecorder log;
    MemoryContainerTree tree;
    ContainerTreeLoader loader{probe, log.log(), tree};
    PickerController controller{tree, loader};
};

TEST_F(PickerControllerTest, WalksToAContainerThreeLevelsDownWithOneQueryPerLevel) {
    ASSERT_TRUE(loadWith(kBerlin));
    EXPECT_EQ(probe.queryCount(), 1);

    controller.timerTick();

    EXPECT_EQ(probe.commandTexts().size(), 3);
    EXPECT_TRUE(probe.commandTexts()[1].startsWith("<LDAP://" + kSales + ">"));
    EXPECT_TRUE(probe.commandTexts()[2].startsWith("<LDAP://" + kEast + ">"));
    EXPECT_EQ(tree.checkedKeys(), QStringList{kBerlin});
    EXPECT_EQ(tree.madeVisible, QStringList{kBerlin});
    // The levels walked through are loaded: their placeholders are gone, so that opening them
    // later asks nothing more.
    EXPECT_FALSE(tree.childKeys(kSales).join(' ').contains("dummy"));
    EXPECT_FALSE(tree.childKeys(kEast).join(' ').contains("dummy"));
    loader.expand(kSales);
    loader.expand(kEast);
    EXPECT_EQ(probe.queryCount(), 3);
    EXPECT_EQ(controller.containerPath(), kBerlin);
    // Without a tree that reports the program's own ticks, nothing is chosen yet.
    EXPECT_EQ(controller.selectedPath(), "");
}

TEST_F(PickerControllerTest, WalkFindsThePathInOtherLetterCase) {
    const QString typed = "ou=berlin,ou=EAST,Ou=Sales,dc=EXAMPLE,dc=com";
    loadWith(typed);

    controller.timerTick();

    EXPECT_EQ(tree.checkedKeys(), QStringList{kBerlin});
    EXPECT_EQ(controller.containerPath(), typed);
    EXPECT_EQ(probe.queryCount(), 3);
}

TEST_F(PickerControllerTest, WalkTicksNothingForAPathTheTreeDoesNotList) {
    loadWith("");
    for (const QString& path : QStringList{"CN=Computers," + kEast, "OU=Nowhere," + kSales,
                                           "OU=Berlin,OU=Nowhere,DC=example,DC=com", kRoot,
                                           "OU=Sales," + kRoot + ",DC=net"}) {
        controller.setContainerPath(path);
        controller.expandToContainer();
        EXPECT_TRUE(tree.checkedKeys().isEmpty()) << path.toStdString();
        EXPECT_EQ(controller.containerPath(), path);
    }
}

TEST_F(PickerControllerTest, WalkEmptiesAPathOutsideTheDomain) {
    loadWith("OU=Sales,DC=other,DC=com");
    controller.timerTick();
    EXPECT_EQ(controller.containerPath(), "");
    EXPECT_EQ(probe.queryCount(), 1);

    // The root key found only beyond the 32,767th character counts as not found.
    controller.setContainerPath("OU=" + QString(32765, u'x') + "," + kRoot);
    controller.expandToContainer();
    EXPECT_EQ(controller.containerPath(), "");
    controller.setContainerPath("OU=" + QString(32762, u'x') + "," + kRoot);
    controller.expandToContainer();
    EXPECT_NE(controller.containerPath(), "");
}

TEST(PickerControllerEmptyTree, WalkEmptiesThePathAndOkFindsNothingChosen) {
    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    probe.setUnreachable(true);
    PickerLogRecorder log;
    MemoryContainerTree tree;
    ContainerTreeLoader loader{probe, log.log(), tree};
    PickerController controller{tree, loader};
    controller.setContainerPath(kSales);

    ASSERT_TRUE(controller.load());
    controller.timerTick();

    EXPECT_EQ(controller.containerPath(), "");
    EXPECT_FALSE(controller.confirm());
}

TEST_F(PickerControllerTest, NoPreselectionStartsNoTimer) {
    EXPECT_FALSE(loadWith(""));
    EXPECT_TRUE(tree.checkedKeys().isEmpty());
}

TEST_F(PickerControllerTest, TickingTheRootOrANodeNamedLikeItIsRefused) {
    loadWith("");
    ASSERT_EQ(tick(kUsers, true), TickAnswer::Done);

    EXPECT_EQ(tick(kRoot, true), TickAnswer::RootRefused);
    const QString namedLikeRoot = "OU=example.com," + kRoot;
    EXPECT_EQ(tick(namedLikeRoot, true), TickAnswer::RootRefused);

    // Nothing else changed; the timer unticks the root only.
    EXPECT_EQ(controller.selectedPath(), kUsers);
    EXPECT_EQ(tree.checkedKeys(), QStringList({kRoot, kUsers, namedLikeRoot}));
    controller.timerTick();
    EXPECT_EQ(tree.checkedKeys(), QStringList({kUsers, namedLikeRoot}));
}

TEST_F(PickerControllerTest, TheLastTickedNodeIsTheOnlyOneAndOkHandsItsKeyBack) {
    loadWith(kUsers);
    EXPECT_EQ(tick(kSales, true), TickAnswer::Done);
    EXPECT_EQ(tick(kUsers, true), TickAnswer::Done);

    EXPECT_EQ(tree.checkedKeys(), QStringList{kUsers});
    EXPECT_EQ(controller.containerPath(), kUsers);  // ticks never write it
    // Unticking a node that is not the chosen one changes nothing.
    tick(kSales, false);
    EXPECT_EQ(controller.selectedPath(), kUsers);

    ASSERT_TRUE(controller.confirm());
    EXPECT_EQ(controller.containerPath(), kUsers);
}

TEST_F(PickerControllerTest, UntickingTheChosenNodeLeavesNothingChosen) {
    loadWith(kSales);
    tick(kSales, true);
    tick(kSales, false);

    EXPECT_EQ(controller.selectedPath(), "");
    EXPECT_FALSE(controller.confirm());
    EXPECT_EQ(controller.containerPath(), kSales);
}

TEST_F(PickerControllerTest, TheTimerReopensThePreselectionOnlyWhileNothingIsChosen) {
    loadWith(kEast);
    tick(kUsers, true);
    tick(kRoot, true);

    controller.timerTick();
    EXPECT_EQ(tree.checkedKeys(), QStringList{kUsers});
    EXPECT_EQ(probe.queryCount(), 1);

    tick(kUsers, false);
    tick(kRoot, true);
    controller.timerTick();
    EXPECT_EQ(tree.checkedKeys(), QStringList{kEast});
}

TEST_F(PickerControllerTest, UnloadClosesTheOneConnection) {
    loadWith(kBerlin);
    controller.timerTick();

    controller.unload();

    EXPECT_EQ(probe.connectionsCreated(), 1);
    EXPECT_EQ(probe.connectionsClosed(), 1);
}

}  // namespace
}  // namespace vorlane
