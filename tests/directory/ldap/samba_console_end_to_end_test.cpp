// The whole program on the test domain: the console window, its provisioning procedures and
// the container picker on the LDAP directory, as the app puts them together; what the result
// box and the log file show, and what the server then holds (read back with ldapsearch).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>

#include "common/activity_log.h"
#include "console/console_window.h"
#include "console/directory_console_procedures.h"
#include "console/picker_container_chooser.h"
#include "directory/ldap/ldap_directory.h"
#include "picker/picker_dialog.h"
#include "samba_domain.h"
#include "support/recording_messages.h"
#include "support/recording_result_box.h"
#include "support/temp_dir.h"

// Lets GoogleTest print texts and lists of them in its failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << "{\n";
    for (const QString& text : texts) *os << "  \"" << text.toStdString() << "\"\n";
    *os << '}';
}

namespace vorlane {
namespace {

using testing::RecordingMessages;
using testing::SambaDomain;
using testing::TempDir;

constexpr int kKeyRole = Qt::UserRole;  // where the picker's tree keeps a node's key
const QString kDescription = QStringLiteral("DEZ distribution list");

// An entry as ldapsearch prints it: attribute name -> values.
using LdifEntry = QMap<QString, QStringList>;

class SambaConsoleEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        domain_ = SambaDomain::fromEnvironment();
        if (!domain_) GTEST_SKIP() << "no Samba domain (run scripts/samba/run-tests)";
        directory_ = std::make_unique<LdapDirectory>(domain_->configuration(), LdapOptions{});
        procedures_ = std::make_unique<DirectoryConsoleProcedures>(*directory_, log_);
        chooser_ = std::make_unique<PickerContainerChooser>(*directory_, log_, messages_);
        window_ = std::make_unique<ConsoleWindow>(*procedures_, messages_, *chooser_);
        procedures_->setControls(*window_);
        log_.setResultBox(window_.get());
        window_->show();
    }
    void TearDown() override {
        log_.setResultBox(nullptr);
        window_.reset();
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    }

    QString dn(const QString& rdns) const { return rdns + u',' + domain_->baseDn(); }
    QString groupsOu() const { return dn(QStringLiteral("OU=Groups,OU=Vorlane")); }

    template <typename T>
    T* control(const char* name) const {
        T* widget = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Fills in a Universal group with "Add User" and presses "Create Group".
    void createGroup(const QString& container, const QString& name, const QString& address) {
        control<QLineEdit>("txtContainer")->setText(container);
        control<QLineEdit>("txtGroup")->setText(name);
        control<QRadioButton>("optUniversal")->click();
        if (!control<QCheckBox>("chkUser")->isChecked()) control<QCheckBox>("chkUser")->click();
        control<QLineEdit>("txtEmail")->setText(address);
        control<QPushButton>("cmdCreate")->click();
    }

    // The log file's lines, which must be the box's.
    QStringList fileLines() const {
        QFile file(log_.filePath());
        if (!file.open(QIODevice::ReadOnly)) return {};
        return testing::splitCrLfLines(QString::fromUtf8(file.readAll()));
    }
    QStringList boxLines() const { return testing::splitCrLfLines(window_->resultText()); }

    // Presses "Select..." and, once the modal picker is up and has reopened its tree, lets act
    // work in it; the picker is closed in any case, so that a failure cannot hang the test.
    void select(const std::function<void(PickerDialog&)>& act) {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* picker = qobject_cast<PickerDialog*>(QApplication::activeModalWidget());
            if (!picker) return;
            poll.stop();
            EXPECT_TRUE(QTest::qWaitFor(
                [picker] { return !picker->findChild<QTimer*>("tmrRoot")->isActive(); }, 5000));
            act(*picker);
            if (picker->isVisible()) picker->reject();
        });
        poll.start();
        control<QPushButton>("cmdAD")->click();
        EXPECT_FALSE(poll.isActive()) << "no picker was shown";
    }

    // A base search of dn with the ldapsearch tool, on the harness's ticket; empty when the
    // tool fails or finds nothing.
    static LdifEntry ldapsearch(const QString& dn, const QStringList& attributes) {
        QProcess tool;
        tool.start(
            QStringLiteral("ldapsearch"),
            QStringList{"-Q", "-LLL", "-o", "ldif-wrap=no", "-s", "base", "-b", dn} + attributes);
        if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
            ADD_FAILURE() << "ldapsearch: " << tool.readAllStandardError().toStdString();
            return {};
        }
        LdifEntry entry;
        for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n')) {
            const qsizetype colon = line.indexOf(QLatin1String(": "));
            if (colon > 0) entry[line.left(colon)].append(line.mid(colon + 2));
        }
        return entry;
    }

    std::optional<SambaDomain> domain_;
    std::unique_ptr<LdapDirectory> directory_;
    TempDir dir_;
    ActivityLog log_{dir_.file(QStringLiteral("Vorlane.log"))};
    RecordingMessages messages_;
    std::unique_ptr<DirectoryConsoleProcedures> procedures_;
    std::unique_ptr<PickerContainerChooser> chooser_;
    std::unique_ptr<ConsoleWindow> window_;
};

TEST_F(SambaConsoleEndToEnd, CreateGroupMakesTheMailEnabledGroupWithTheUserThenFindsBoth) {
    const QString name = SambaDomain::uniqueName(QStringLiteral("Field Sales"));
    const QString account = QString(name).remove(u' ');
    const QString address = account + QStringLiteral("@vorlane.test");
    const QString container = groupsOu();
    const QString groupDn = "CN=" + name + u',' + container;
    const QString bob = QStringLiteral("bob.brown@vorlane.test");
    const QString bobDn = dn(QStringLiteral("CN=Bob Brown,OU=Staff,OU=Vorlane"));

    const quint64 before = directory_->connection().roundTrips();
    createGroup(container, name, bob);
    const quint64 firstRequest = directory_->connection().roundTrips() - before;
    createGroup(container, name, bob);
    const quint64 secondRequest = directory_->connection().roundTrips() - before - firstRequest;

    const QStringList opening = {QString(20, u'-'), "attempting to open " + container,
                                 "opened " + container};
    const QString adding = "Adding " + bob + " to " + name;
    const QStringList expected =
        opening +
        QStringList{name + " not found, attempting to create it",
                    "created " + name + ", attempting to assign properties",
                    "putting samAccountName as " + account,
                    "putting groupType as Universal",
                    "setting description = " + kDescription,
                    "calling SetInfo",
                    "SetInfo on properties  returned successfully",
                    "attempting to mail-enable " + name,
                    "SetInfo on MailEnable returned successfully",
                    adding,
                    "retrieved user object with ADsPath LDAP://" + bobDn,
                    "attempting to add LDAP://" + bobDn + " to group",
                    "Success adding " + bob + " to " + name} +
        opening +
        QStringList{"found existing group " + name,
                    "found samAccountName=" + account,
                    "found groupType=Universal",
                    "found description=" + kDescription,
                    adding,
                    "Found " + bob + " as member of " + name};
    EXPECT_EQ(boxLines(), expected);
    EXPECT_EQ(fileLines(), expected);
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();

    // The bind and the schema search for mailNickname (once a connection; the rootDSE that the
    // lookup binds names the schema), then one request a step (a bound object whose properties
    // nobody reads costs its binding only): rootDSE, the domain, the address
    // lookup, the container, the group (not there), the add, the search that keeps the group's
    // address unique, the mail-enabling modify, the membership test, the user and the member
    // modify.
    EXPECT_EQ(firstRequest, 2u + 11u);
    // The rootDSE is read once a connection; then the domain, the lookup, the container, the
    // group (found), its properties at the first read of one, and the membership test.
    EXPECT_EQ(secondRequest, 6u);

    const LdifEntry group =
        ldapsearch(groupDn, {"groupType", "sAMAccountName", "description", "mail", "proxyAddresses",
                             "member", "mailNickname"});
    EXPECT_EQ(group.value("dn"), QStringList{groupDn});
    EXPECT_EQ(group.value("groupType"), QStringList{"8"});
    EXPECT_EQ(group.value("sAMAccountName"), QStringList{account});
    EXPECT_EQ(group.value("description"), QStringList{kDescription});
    EXPECT_EQ(group.value("mail"), QStringList{address});
    EXPECT_EQ(group.value("proxyAddresses"), QStringList{"SMTP:" + address});
    EXPECT_EQ(group.value("member"), QStringList{bobDn});
    EXPECT_FALSE(group.contains("mailNickname")) << "not in Samba's schema";
}

TEST_F(SambaConsoleEndToEnd, AnAddressNobodyCarriesGivesAGroupWithoutMember) {
    const QString name = SambaDomain::uniqueName(QStringLiteral("Nobody Team"));
    const QString account = QString(name).remove(u' ');
    const QString nobody = SambaDomain::uniqueName(QStringLiteral("nobody")) + "@vorlane.test";
    const QString groupDn = "CN=" + name + u',' + groupsOu();

    createGroup(groupsOu(), name, nobody);

    const QStringList lines = boxLines();
    ASSERT_EQ(lines.size(), 14) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[3], name + " not found, attempting to create it");
    EXPECT_EQ(lines[11], "SetInfo on MailEnable returned successfully");
    // Nobody carries the address: the member's path is empty and binding it is refused.
    EXPECT_EQ(lines.mid(12),
              QStringList({"Adding " + nobody + " to " + name,
                           "GetObject(LDAP://cn=,) failed:80072032 An invalid dn syntax has been "
                           "specified. (00002032: ldb_search: invalid basedn '(null)')"}));
    EXPECT_EQ(fileLines(), lines);

    const LdifEntry group = ldapsearch(groupDn, {"sAMAccountName", "mail", "member"});
    EXPECT_EQ(group.value("sAMAccountName"), QStringList{account});
    EXPECT_EQ(group.value("mail"), QStringList{account + "@vorlane.test"});
    EXPECT_FALSE(group.contains("member"));
}

TEST_F(SambaConsoleEndToEnd, PickerHidesTheSystemContainersAndTicksThePreselectedOne) {
    const QString root = domain_->baseDn();
    const QString vorlane = dn(QStringLiteral("OU=Vorlane"));
    const QString staff = dn(QStringLiteral("OU=Staff,OU=Vorlane"));
    const QString sales = dn(QStringLiteral("OU=Sales,OU=Staff,OU=Vorlane"));
    control<QLineEdit>("txtContainer")->setText(sales);

    QStringList topLevel;
    QStringList ticked;
    select([&](PickerDialog& picker) {
        auto* tree = picker.findChild<QTreeWidget*>("tvAD");
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* domainNode = tree->topLevelItem(0);
        EXPECT_EQ(domainNode->data(0, kKeyRole).toString(), root);
        EXPECT_EQ(domainNode->text(0), "vorlane.test");
        for (int i = 0; i < domainNode->childCount(); ++i) {
            topLevel.append(domainNode->child(i)->data(0, kKeyRole).toString());
        }
        for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::Checked); *it; ++it) {
            ticked.append((*it)->data(0, kKeyRole).toString());
        }
        picker.findChild<QPushButton*>("cmdOK")->click();
    });

    EXPECT_EQ(ticked, QStringList{sales});
    EXPECT_EQ(control<QLineEdit>("txtContainer")->text(), sales);
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join(u'\n').toStdString();
    for (const QString& shown : {dn("CN=Users"), dn("CN=Managed Service Accounts"), vorlane}) {
        EXPECT_TRUE(topLevel.contains(shown, Qt::CaseInsensitive)) << shown.toStdString();
    }
    const QStringList lines = boxLines();
    EXPECT_EQ(fileLines(), lines);
    for (const QString hidden : {"CN=System", "CN=Computers", "OU=Domain Controllers",
                                 "CN=ForeignSecurityPrincipals", "CN=Program Data"}) {
        const QString path = dn(hidden);
        EXPECT_FALSE(topLevel.contains(path, Qt::CaseInsensitive)) << path.toStdString();
        // Samba provisions all but CN=Program Data; whatever the server has is logged as skipped.
        const QString skipped = "skipping LDAP://" + path + "; " + hidden.section(u'=', 1);
        if (hidden != QLatin1String("CN=Program Data")) {
            EXPECT_TRUE(lines.contains(skipped)) << skipped.toStdString();
        }
    }

    // The root and its level, then the way down to the preselected container, one level each.
    const auto query = [](const QString& base) {
        return "executing query with commandText=<LDAP://" + base +
               ">;(|(objectClass=container)(objectClass=organizationalUnit));AdsPath;onelevel";
    };
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.mid(0, 3),
              QStringList({"defaultNamingContext = " + root, "added root node", query(root)}));
    const qsizetype rows = lines.indexOf(query(vorlane)) - 4;
    EXPECT_EQ(lines[3], "query returned " + QString::number(rows) + " records");
    EXPECT_EQ(topLevel.size() + lines.filter(QStringLiteral("skipping ")).size(), rows);
    // OU=Vorlane's two children come in the server's order.
    QStringList descent = lines.mid(lines.indexOf(query(vorlane)));
    ASSERT_EQ(descent.size(), 7) << descent.join(u'\n').toStdString();
    std::sort(descent.begin() + 2, descent.begin() + 4);
    EXPECT_EQ(descent,
              QStringList({query(vorlane), "query returned 2 records",
                           "adding Groups; AdsPath=LDAP://" + groupsOu(),
                           "adding Staff; AdsPath=LDAP://" + staff, query(staff),
                           "query returned 1 records", "adding Sales; AdsPath=LDAP://" + sales}));
}

}  // namespace
}  // namespace vorlane
