// The container tree loaded from the embedded directory's demo domain.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "directory/open_directory.h"
#include "memory_container_tree.h"
#include "picker/picker_dialog.h"
#include "picker/tree_loading.h"
#include "qstring_printer.h"
#include "support/picker_directory_probe.h"
#include "support/picker_log_recorder.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace vorlane {
namespace {

using testing::MemoryContainerTree;
using testing::PickerDirectoryProbe;
using testing::PickerLogRecorder;
using testing::RecordingMessages;
using testing::TempDir;

const QString kRoot = QStringLiteral("DC=example,DC=com");
const QString kSales = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kEast = QStringLiteral("OU=East,OU=Sales,DC=example,DC=com");
const QString kTeams = QStringLiteral("OU=Teams,OU=East,OU=Sales,DC=example,DC=com");
const QString kWest = QStringLiteral("OU=West,OU=Sales,DC=example,DC=com");
const QString kEngineering = QStringLiteral("OU=Engineering,DC=example,DC=com");
const QString kMarketing = QStringLiteral("OU=Marketing,DC=example,DC=com");

QString queryOf(const QString& base) {
    return "executing query with commandText=<LDAP://" + base +
           ">;(|(objectClass=container)(objectClass=organizationalUnit));AdsPath;onelevel";
}

// Children of key without the placeholder, sorted, so that the directory's row order does not
// matter.
QStringList sortedChildren(const MemoryContainerTree& tree, const QString& key) {
    QStringList children = tree.childKeys(key);
    children.sort(Qt::CaseInsensitive);
    return children;
}

class EmbeddedTreeLoadingTest : public ::testing::Test {
  protected:
    EmbeddedTreeLoadingTest() {
        loader.openDirectoryConnection();
        loader.addRootNode();
    }

    TempDir dir;
    OpenedDirectory opened = openDirectory({dir.file("Vorlane.directory.ldif")});
    PickerDirectoryProbe probe{*opened.directory};
    PickerLogRecorder log;
    MemoryContainerTree tree;
    ContainerTreeLoader loader{probe, log.log(), tree};
};

TEST_F(EmbeddedTreeLoadingTest, LoadShowsTheDomainAndItsFirstLevelWithoutTheSystemContainers) {
    ASSERT_TRUE(opened.problem.isEmpty()) << opened.problem.toStdString();
    EXPECT_EQ(log.lines().mid(0, 3), QStringList({"defaultNamingContext = DC=example,DC=com",
                                                  "added root node", queryOf(kRoot)}));
    EXPECT_EQ(tree.firstNodeKey(), kRoot);
    EXPECT_EQ(tree.text(kRoot), "example.com");

    EXPECT_EQ(sortedChildren(tree, kRoot),
              QStringList({"CN=Managed Service Accounts,DC=example,DC=com",
                           "CN=Users,DC=example,DC=com", kEngineering, kMarketing, kSales}));
    for (const QString& child : tree.childKeys(kRoot)) {
        EXPECT_EQ(tree.childKeys(child), QStringList{"dummy" + QString::number(tree.index(child))})
            << child.toStdString();
    }
    for (const char* skipped :
         {"CN=Computers", "CN=System", "CN=Program Data", "CN=ForeignSecurityPrincipals",
          "CN=Microsoft Exchange System Objects", "OU=Domain Controllers"}) {
        const QString path = QString(skipped) + "," + kRoot;
        const QString name = path.section(u',', 0, 0).section(u'=', 1);
        EXPECT_TRUE(log.lines().contains("skipping LDAP://" + path + "; " + name))
            << path.toStdString();
    }
    EXPECT_TRUE(log.lines().contains("query returned 11 records"));
    EXPECT_EQ(probe.queryCount(), 1);
}

TEST_F(EmbeddedTreeLoadingTest, DeeperLevelsHideSystemNamesInTheirCaseOnlyAndLoadOnce) {
    loader.expand(kEngineering);
    loader.expand(kMarketing);

    EXPECT_EQ(tree.childKeys(kEngineering),
              QStringList{"OU=Platform,OU=Engineering,DC=example,DC=com"});
    EXPECT_TRUE(log.lines().contains(
        "skipping LDAP://CN=Computers,OU=Engineering,DC=example,DC=com; Computers"));
    EXPECT_EQ(tree.childKeys(kMarketing),
              QStringList{"CN=computers,OU=Marketing,DC=example,DC=com"});
    EXPECT_EQ(tree.text("CN=computers,OU=Marketing,DC=example,DC=com"), "computers");

    const int queries = probe.queryCount();
    loader.expand(kEngineering);
    loader.expand(kRoot);
    EXPECT_EQ(probe.queryCount(), queries);
}

TEST_F(EmbeddedTreeLoadingTest, ReloadingLogsTheRowsAgainAndAddsNothing) {
    loader.expand(kSales);
    const QStringList keys = tree.keys();
    log.clear();

    loader.loadChildContainers(kSales);

    EXPECT_EQ(log.lines().size(), 4);
    EXPECT_EQ(log.lines()[1], "query returned 2 records");
    EXPECT_TRUE(log.lines().contains("adding East; AdsPath=LDAP://" + kEast));
    EXPECT_TRUE(log.lines().contains("adding West; AdsPath=LDAP://" + kWest));
    EXPECT_EQ(tree.keys(), keys);
}

TEST_F(EmbeddedTreeLoadingTest, AnOuWithOnlyUsersHasNoChildContainers) {
    loader.expand(kSales);
    log.clear();

    loader.expand(kWest);

    EXPECT_EQ(log.lines(), QStringList({queryOf(kWest), "query did not return any records"}));
    EXPECT_TRUE(tree.childKeys(kWest).isEmpty());
}

TEST_F(EmbeddedTreeLoadingTest, AFailingQueryIsLoggedWithItsCodeAndText) {
    probe.failQueriesWith(testing::pickerServerDown());
    log.clear();

    loader.expand(kSales);

    EXPECT_EQ(
        log.lines(),
        QStringList({queryOf(kSales), "error on execute:8007203A The server is not operational."}));
    EXPECT_TRUE(tree.childKeys(kSales).isEmpty());
}

TEST(EmbeddedTreeLoadingUnreachable, AnUnusableDirectoryGivesNoRootDse) {
    TempDir dir;
    QFile state(dir.file("Vorlane.directory.ldif"));
    ASSERT_TRUE(state.open(QIODevice::WriteOnly));
    state.write("this is not LDIF\n");
    state.close();
    OpenedDirectory opened = openDirectory({state.fileName()});
    ASSERT_FALSE(opened.problem.isEmpty());
    PickerLogRecorder log;
    MemoryContainerTree tree;
    ContainerTreeLoader loader{*opened.directory, log.log(), tree};

    loader.openDirectoryConnection();
    loader.addRootNode();

    EXPECT_EQ(log.lines(), QStringList{"unable to retrieve rootDSE"});
    EXPECT_TRUE(tree.keys().isEmpty());
}

TEST(EmbeddedPicker, PreselectedContainerThreeLevelsDownTakesOneQueryPerLevel) {
    TempDir dir;
    OpenedDirectory opened = openDirectory({dir.file("Vorlane.directory.ldif")});
    PickerDirectoryProbe probe{*opened.directory};
    PickerLogRecorder log;
    RecordingMessages messages;
    PickerDialog dialog{probe, log.log(), messages};
    dialog.setContainerPath(kTeams);

    dialog.show();
    auto* timer = dialog.findChild<QTimer*>("tmrRoot");
    ASSERT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 2000));

    EXPECT_EQ(probe.queryCount(), 3);
    QTreeWidgetItem* ticked = nullptr;
    auto* tvAD = dialog.findChild<QTreeWidget*>("tvAD");
    for (QTreeWidgetItemIterator it(tvAD, QTreeWidgetItemIterator::Checked); *it; ++it) {
        EXPECT_EQ(ticked, nullptr);
        ticked = *it;
    }
    ASSERT_NE(ticked, nullptr);
    EXPECT_EQ(ticked->text(0), "Teams");
    for (QTreeWidgetItem* up = ticked->parent(); up; up = up->parent()) {
        EXPECT_TRUE(up->isExpanded());
    }
    EXPECT_EQ(probe.queryCount(), 3);
}

}  // namespace
}  // namespace vorlane
