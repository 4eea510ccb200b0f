#include "picker/tree_loading.h"

#include <gtest/gtest.h>

#include "memory_container_tree.h"
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

const QString kRoot = QStringLiteral("DC=example,DC=com");
const QString kSales = QStringLiteral("OU=Sales,DC=example,DC=com");
const QString kEast = QStringLiteral("OU=East,OU=Sales,DC=example,DC=com");
const QString kWest = QStringLiteral("OU=West,OU=Sales,DC=example,DC=com");

QString queryOf(const QString& base) {
    return "executing query with commandText=<LDAP://" + base +
           ">;(|(objectClass=container)(objectClass=organizationalUnit));AdsPath;onelevel";
}

// A domain with the six system containers at the top, some of them again deeper down, and a
// "computers" container whose name differs from a system container's only in letter case.
void fillDomain(PickerFakeDirectory& d) {
    d.addOu(kSales);
    d.addContainer("CN=Computers," + kRoot);
    d.addContainer("CN=Users," + kRoot);
    d.addContainer("CN=System," + kRoot);
    d.addContainer("CN=Program Data," + kRoot);
    d.addContainer("CN=ForeignSecurityPrincipals," + kRoot);
    d.addContainer("CN=Microsoft Exchange System Objects," + kRoot);
    d.addOu("OU=Domain Controllers," + kRoot);
    d.add("CN=Alice," + kSales, "user");
    d.addOu(kEast);
    d.addOu(kWest);
    d.addContainer("CN=computers," + kSales);
    d.addContainer("CN=Computers," + kEast);
    d.addContainer("CN=System," + kEast);
    d.addOu("OU=Berlin," + kEast);
}

class TreeLoadingTest : public ::testing::Test {
  protected:
    TreeLoadingTest() { fillDomain(domain); }

    void load() {
        loader.openDirectoryConnection();
        loader.addRootNode();
    }

    PickerFakeDirectory domain{kRoot};
    PickerDirectoryProbe probe{domain};
    PickerLogRecorder log;
    MemoryContainerTree tree;
    ContainerTreeLoader loader{probe, log.log(), tree};
};

TEST_F(TreeLoadingTest, LoadAddsTheRootAndItsChildrenWithPlaceholdersAndLogsEveryRow) {
    load();

    EXPECT_EQ(log.lines(),
              QStringList({
                  "defaultNamingContext = DC=example,DC=com",
                  "added root node",
                  queryOf(kRoot),
                  "query returned 8 records",
                  "adding Sales; AdsPath=LDAP://OU=Sales,DC=example,DC=com",
                  "skipping LDAP://CN=Computers,DC=example,DC=com; Computers",
                  "adding Users; AdsPath=LDAP://CN=Users,DC=example,DC=com",
                  "skipping LDAP://CN=System,DC=example,DC=com; System",
                  "skipping LDAP://CN=Program Data,DC=example,DC=com; Program Data",
                  "skipping LDAP://CN=ForeignSecurityPrincipals,DC=example,DC=com; "
                  "ForeignSecurityPrincipals",
                  "skipping LDAP://CN=Microsoft Exchange System Objects,DC=example,DC=com; "
                  "Microsoft Exchange System Objects",
                  "skipping LDAP://OU=Domain Controllers,DC=example,DC=com; Domain Controllers",
              }));

    // Root: key the naming context, text its dotted form, first node; no placeholder.
    EXPECT_EQ(tree.firstNodeKey(), kRoot);
    EXPECT_EQ(tree.text(kRoot), "example.com");
    EXPECT_EQ(tree.imageKey(kRoot), "imgDomain");
    EXPECT_EQ(tree.index(kRoot), 1);
    const QString users = "CN=Users," + kRoot;
    EXPECT_EQ(tree.childKeys(kRoot), QStringList({kSales, users}));

    // Every container: its name and folder image, one placeholder keyed by its own index.
    EXPECT_EQ(tree.text(kSales), "Sales");
    EXPECT_EQ(tree.imageKey(kSales), "imgFolder");
    EXPECT_EQ(tree.index(kSales), 2);
    EXPECT_EQ(tree.childKeys(kSales), QStringList{"dummy2"});
    EXPECT_EQ(tree.text("dummy2"), "");
    EXPECT_EQ(tree.imageKey("dummy2"), "");
    EXPECT_EQ(tree.index(users), 4);
    EXPECT_EQ(tree.childKeys(users), QStringList{"dummy4"});

    EXPECT_TRUE(tree.checkedKeys().isEmpty());
    EXPECT_EQ(probe.queryCount(), 1);
    EXPECT_EQ(probe.connectionsCreated(), 1);
}

TEST_F(TreeLoadingTest, ExpandReplacesThePlaceholderOnceAndHidesSystemContainersAtEveryDepth) {
    load();
    log.clear();

    loader.expand(kSales);
    EXPECT_EQ(log.lines(), QStringList({
                               queryOf(kSales),
                               "query returned 3 records",
                               "adding East; AdsPath=LDAP://" + kEast,
                               "adding West; AdsPath=LDAP://" + kWest,
                               "adding computers; AdsPath=LDAP://CN=computers," + kSales,
                           }));
    EXPECT_EQ(tree.childKeys(kSales), QStringList({kEast, kWest, "CN=computers," + kSales}));
    EXPECT_FALSE(tree.contains("dummy2"));

    loader.expand(kEast);
    EXPECT_EQ(tree.childKeys(kEast), QStringList{"OU=Berlin," + kEast});
    EXPECT_TRUE(log.lines().contains("skipping LDAP://CN=Computers," + kEast + "; Computers"));
    EXPECT_TRUE(log.lines().contains("skipping LDAP://CN=System," + kEast + "; System"));

    // Expanding a loaded node again, or the root, asks nothing and changes nothing.
    const QStringList keys = tree.keys();
    const int queries = probe.queryCount();
    log.clear();
    loader.expand(kSales);
    loader.expand(kEast);
    loader.expand(kRoot);
    EXPECT_EQ(probe.queryCount(), queries);
    EXPECT_EQ(tree.keys(), keys);
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(TreeLoadingTest, LoadingANodeWhoseChildrenAreThereLogsTheRowsAgainAndAddsNothing) {
    load();
    loader.expand(kSales);
    const QStringList keys = tree.keys();
    log.clear();

    loader.loadChildContainers(kSales);

    EXPECT_EQ(log.lines(), QStringList({
                               queryOf(kSales),
                               "query returned 3 records",
                               "adding East; AdsPath=LDAP://" + kEast,
                               "adding West; AdsPath=LDAP://" + kWest,
                               "adding computers; AdsPath=LDAP://CN=computers," + kSales,
                           }));
    EXPECT_EQ(tree.keys(), keys);
}

TEST_F(TreeLoadingTest, AContainerWithoutChildrenLosesItsPlaceholder) {
    load();
    loader.expand(kSales);
    log.clear();

    loader.expand(kWest);

    EXPECT_EQ(log.lines(), QStringList({queryOf(kWest), "query did not return any records"}));
    EXPECT_TRUE(tree.childKeys(kWest).isEmpty());
}

TEST_F(TreeLoadingTest, RowsOfANodeNotInTheTreeAreLoggedButNotAdded) {
    load();
    log.clear();

    loader.loadChildContainers(kEast);

    EXPECT_EQ(log.lines().size(), 5);
    EXPECT_EQ(log.lines()[4], "adding Berlin; AdsPath=LDAP://OU=Berlin," + kEast);
    EXPECT_FALSE(tree.contains("OU=Berlin," + kEast));
}

struct TroubledQuery {
    PickerDirectoryProbe::QueryAnswer answer;
    QString line;
};

class TroubledQueryTest : public TreeLoadingTest,
                          public ::testing::WithParamInterface<TroubledQuery> {};

TEST_P(TroubledQueryTest, IsLoggedAndAddsNothing) {
    load();
    log.clear();
    probe.failQueriesWith({0x80072030, "There is no such object on the server."});
    probe.answerQueries(GetParam().answer);

    loader.expand(kSales);

    EXPECT_EQ(log.lines(), QStringList({queryOf(kSales), GetParam().line}));
    // The placeholder that the expansion removed stays removed.
    EXPECT_TRUE(tree.childKeys(kSales).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TroubledQueryTest,
    ::testing::Values(TroubledQuery{PickerDirectoryProbe::QueryAnswer::Failure,
                                    "error on execute:80072030 There is no such object on the "
                                    "server."},
                      TroubledQuery{PickerDirectoryProbe::QueryAnswer::NoRecordSet,
                                    "query did not return recordset"},
                      TroubledQuery{PickerDirectoryProbe::QueryAnswer::ClosedRecordSet,
                                    "recordset.State=0"}));

TEST_F(TreeLoadingTest, AnUnreachableDirectoryLeavesTheTreeEmpty) {
    probe.setUnreachable(true);

    load();
    loader.loadChildContainers(kRoot);

    EXPECT_EQ(log.lines(), QStringList{"unable to retrieve rootDSE"});
    EXPECT_TRUE(tree.keys().isEmpty());
    EXPECT_EQ(probe.queryCount(), 0);
}

TEST_F(TreeLoadingTest, AConnectionThatDidNotOpenMakesEveryLoadDoNothing) {
    PickerFakeDirectory reachable{kRoot};
    PickerDirectoryProbe refusing{reachable};
    ContainerTreeLoader refused{refusing, log.log(), tree};
    refusing.setUnreachable(true);
    refused.openDirectoryConnection();
    refusing.setUnreachable(false);

    refused.addRootNode();

    EXPECT_EQ(log.lines(),
              QStringList({"defaultNamingContext = DC=example,DC=com", "added root node"}));
    EXPECT_EQ(tree.keys(), QStringList{kRoot});
    EXPECT_EQ(refusing.queryCount(), 0);
}

TEST(TreeLoadingRoot, ADomainThatDoesNotBindGivesNoRoot) {
    struct Case {
        QString namingContext;
        QStringList lines;
    };
    // A rootDSE naming a domain that is not there, and one that names none at all.
    for (const Case& c :
         {Case{"DC=gone,DC=com",
               {"defaultNamingContext = DC=gone,DC=com",
                "unable to get domain object using GetObject(LDAP://DC=gone,DC=com)"}},
          Case{"",
               {"defaultNamingContext = ",
                "unable to get domain object using GetObject(LDAP://)"}}}) {
        PickerFakeDirectory domain{kRoot};
        domain.setRootDseNamingContext(c.namingContext);
        PickerDirectoryProbe probe{domain};
        PickerLogRecorder log;
        MemoryContainerTree tree;
        ContainerTreeLoader loader{probe, log.log(), tree};

        loader.openDirectoryConnection();
        loader.addRootNode();

        EXPECT_EQ(log.lines(), c.lines) << c.namingContext.toStdString();
        EXPECT_TRUE(tree.keys().isEmpty());
        EXPECT_EQ(probe.queryCount(), 0);
    }
}

}  // namespace
}  // namespace vorlane
