// The interface's operations on the test domain: what each costs and what the server answers.
#include <gtest/gtest.h>

#include "directory/ldap/ldap_directory.h"
#include "samba_domain.h"

namespace vorlane {
namespace {

using testing::SambaDomain;

class SambaOperations : public ::testing::Test {
  protected:
    void SetUp() override {
        domain_ = SambaDomain::fromEnvironment();
        if (!domain_) {
            GTEST_SKIP() << "no Samba domain (run scripts/samba/run-tests)";
        }
        directory_.emplace(domain_->configuration(), LdapOptions{});
    }

    QString path(const QString& rdns) const {
        return QStringLiteral("LDAP://") + rdns + u',' + domain_->baseDn();
    }
    quint64 roundTrips() { return directory_->connection().roundTrips(); }

    std::optional<SambaDomain> domain_;
    std::optional<LdapDirectory> directory_;
};

// The requests of a "Create Group" with a member: the bind, one a step, the search that keeps
// the group's address unique and, once a connection, the schema read that tells whether groups
// can have a mailNickname.
TEST_F(SambaOperations, CreateGroupWithAMemberCostsOneRequestAStep) {
    const QString name = SambaDomain::uniqueName("Team");
    const QString containerPath = path(QStringLiteral("OU=Groups,OU=Vorlane"));
    const QString userAddress = QStringLiteral("carol.clark@vorlane.test");

    auto rootDse = directory_->bindObject(QStringLiteral("LDAP://rootDSE"));
    ASSERT_TRUE(rootDse);
    EXPECT_EQ(roundTrips(), 2u) << "bind, rootDSE";
    auto connection = directory_->createQueryConnection();
    ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")));
    auto rows =
        connection->execute(QStringLiteral("<LDAP://") + *(*rootDse)->get("defaultNamingContext") +
                            ">;(mail=" + userAddress + ");ADsPath;subTree");
    ASSERT_TRUE(rows) << failureSuffix(rows.error()).toStdString();
    ASSERT_EQ((*rows)->recordCount(), 1);
    const QString userPath = *(*rows)->field(QStringLiteral("ADsPath"));
    EXPECT_EQ(userPath, path(QStringLiteral("CN=Carol Clark,OU=Staff,OU=Vorlane")));
    EXPECT_EQ(roundTrips(), 3u);

    auto container = directory_->bindContainer(containerPath);
    ASSERT_TRUE(container);
    auto missing = directory_->bindGroup(path("cn=" + name + ",OU=Groups,OU=Vorlane"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, 0x80072030u);
    EXPECT_EQ(roundTrips(), 5u);

    auto created = (*container)->create(QStringLiteral("group"), "cn=" + name);
    ASSERT_TRUE(created);
    auto group = viewAs<DirectoryGroup>(std::move(*created));
    ASSERT_TRUE(group);
    ASSERT_TRUE((*group)->put(QStringLiteral("samAccountName"), name));
    ASSERT_TRUE((*group)->putInteger(QStringLiteral("groupType"), 8));
    ASSERT_TRUE((*group)->setDescription(QStringLiteral("DEZ distribution list")));
    EXPECT_EQ(roundTrips(), 5u) << "create and put send nothing";
    ASSERT_TRUE((*group)->setInfo());
    EXPECT_EQ(roundTrips(), 6u);
    ASSERT_TRUE((*group)->mailEnable());
    auto enabled = (*group)->setInfo();
    ASSERT_TRUE(enabled) << failureSuffix(enabled.error()).toStdString();
    EXPECT_EQ(roundTrips(), 9u)
        << "the search for the address, the schema read (once a connection), the modify";

    EXPECT_EQ((*group)->isMember(userPath), false);
    auto user = directory_->bindObject(userPath);
    ASSERT_TRUE(user);
    ASSERT_TRUE((*group)->add((*user)->adsPath()));
    EXPECT_TRUE((*group)->setInfo()) << "nothing staged: nothing sent";
    EXPECT_EQ(roundTrips(), 12u);
    EXPECT_EQ((*group)->isMember(userPath), true);

    // What the server stored.
    auto stored = directory_->bindGroup(path("CN=" + name + ",OU=Groups,OU=Vorlane"));
    ASSERT_TRUE(stored);
    EXPECT_EQ((*stored)->get(QStringLiteral("sAMAccountName")), name);
    EXPECT_EQ((*stored)->getInteger(QStringLiteral("groupType")), 8);
    EXPECT_EQ((*stored)->description(), QStringLiteral("DEZ distribution list"));
    EXPECT_EQ((*stored)->get(QStringLiteral("mail")), name + "@vorlane.test");
    EXPECT_EQ((*stored)->get(QStringLiteral("proxyAddresses")), "SMTP:" + name + "@vorlane.test");
    EXPECT_FALSE((*stored)->get(QStringLiteral("mailNickname")))
        << "Samba's default schema has no mailNickname";
    EXPECT_EQ((*stored)->getValues(QStringLiteral("member")),
              QStringList{path(QStringLiteral("CN=Carol Clark,OU=Staff,OU=Vorlane")).mid(7)});
}

TEST_F(SambaOperations, MailEnableNumbersAnAddressThatAnotherObjectCarries) {
    auto container = directory_->bindContainer(path(QStringLiteral("OU=Groups,OU=Vorlane")));
    ASSERT_TRUE(container);
    const QString account = SambaDomain::uniqueName(QStringLiteral("list"));
    const auto makeGroup = [&](const QString& name, const QString& samAccountName,
                               const QString& mail) {
        auto created = (*container)->create(QStringLiteral("group"), "CN=" + name);
        ASSERT_TRUE(created);
        ASSERT_TRUE((*created)->put(QStringLiteral("sAMAccountName"), samAccountName));
        if (!mail.isEmpty()) {
            ASSERT_TRUE((*created)->put(QStringLiteral("mail"), mail));
        }
        auto group = viewAs<DirectoryGroup>(std::move(*created));
        ASSERT_TRUE(group);
        if (mail.isEmpty()) {
            ASSERT_TRUE((*group)->mailEnable());
        }
        ASSERT_TRUE((*group)->setInfo());
    };
    // Another object already carries account@ as its mail.
    makeGroup(account + "-holder", account + "-h", account + "@vorlane.test");
    makeGroup(account, account, {});
    auto stored = directory_->bindObject(path("CN=" + account + ",OU=Groups,OU=Vorlane"));
    ASSERT_TRUE(stored);
    EXPECT_EQ((*stored)->get(QStringLiteral("mail")), account + "2@vorlane.test");
    EXPECT_EQ((*stored)->get(QStringLiteral("proxyAddresses")),
              "SMTP:" + account + "2@vorlane.test");
}

TEST_F(SambaOperations, ServerFailuresCarryTheirCodeAndDiagnostic) {
    auto container = directory_->bindContainer(path(QStringLiteral("OU=Groups,OU=Vorlane")));
    ASSERT_TRUE(container);
    const struct {
        const char* rdn;
        const char* account;
        qint32 groupType;
        std::uint32_t code;
        const char* diagnosticStart;
    } cases[] = {
        {"CN=Sales Team", "SalesTeam2", 8, 0x80071392, "The object already exists. ("},
        {"CN=Taken", "aadams", 8, 0x80071392, "The object already exists. (00002071"},
        {"CN=Comma", "a,b", 8, 0x8007202F, "A constraint violation occurred. (0000202F"},
        {"CN=Bad Type", "BadType", 3, 0x80072035,
         "The server is unwilling to process the request. (00002035"},
        {"OU=Wrong Rdn", "WrongRdn", 8, 0x80072037, "There is a naming violation. (00002037"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rdn);
        auto group = (*container)->create(QStringLiteral("group"), QString::fromUtf8(c.rdn));
        ASSERT_TRUE(group);
        ASSERT_TRUE((*group)->put(QStringLiteral("sAMAccountName"), QString::fromUtf8(c.account)));
        ASSERT_TRUE((*group)->putInteger(QStringLiteral("groupType"), c.groupType));
        auto stored = (*group)->setInfo();
        ASSERT_FALSE(stored);
        EXPECT_EQ(stored.error().code, c.code);
        EXPECT_TRUE(stored.error().description.startsWith(QString::fromUtf8(c.diagnosticStart)))
            << stored.error().description.toStdString();
        EXPECT_TRUE(stored.error().description.endsWith(u')'));
    }
}

TEST_F(SambaOperations, MembershipAnswers) {
    auto group = directory_->bindGroup(path(QStringLiteral("CN=Sales Team,OU=Groups,OU=Vorlane")));
    ASSERT_TRUE(group);
    const QString alice = path(QStringLiteral("CN=Alice Adams,OU=Sales,OU=Staff,OU=Vorlane"));
    const QString bob = path(QStringLiteral("CN=Bob Brown,OU=Staff,OU=Vorlane"));
    EXPECT_EQ((*group)->isMember(alice), true);
    EXPECT_EQ((*group)->isMember("LDAP://" + alice.mid(7).toLower()), true)
        << "DNs compare in any letter case";
    EXPECT_EQ((*group)->isMember(bob), false);
    EXPECT_EQ((*group)->isMember(path(QStringLiteral("CN=Nobody"))), false);

    EXPECT_EQ((*group)->add(alice).error().code, 0x80071392u);
    EXPECT_EQ((*group)->remove(bob).error().code, 0x80072035u);
    EXPECT_EQ((*group)->add(path(QStringLiteral("CN=Nobody"))).error().code, 0x80072030u);
    EXPECT_EQ((*group)->add(QStringLiteral("not a path")).error(), failures::badPathname());

    ASSERT_TRUE((*group)->add(bob));
    EXPECT_EQ((*group)->isMember(bob), true);
    ASSERT_TRUE((*group)->remove(bob));
    EXPECT_EQ((*group)->isMember(bob), false);
}

TEST_F(SambaOperations, BindingAsAKindTheObjectIsNotFails) {
    EXPECT_EQ(directory_->bindGroup(path(QStringLiteral("OU=Vorlane"))).error(),
              failures::typeMismatch());
    EXPECT_EQ(
        directory_->bindContainer(path(QStringLiteral("CN=Bob Brown,OU=Staff,OU=Vorlane"))).error(),
        failures::typeMismatch());
    EXPECT_TRUE(directory_->bindContainer(path(QStringLiteral("CN=Users"))));
    EXPECT_TRUE(directory_->bindContainer(QStringLiteral("LDAP://") + domain_->baseDn()));
    EXPECT_EQ(directory_->bindObject(QStringLiteral("LDAP://cn=,")).error().code, 0x80072032u);
    EXPECT_EQ(directory_->bindObject(path(QStringLiteral("OU=Missing"))).error().code, 0x80072030u);
}

TEST_F(SambaOperations, QueriesSkipReferencesAndRejectBadFilters) {
    auto connection = directory_->createQueryConnection();
    ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")));
    // From the domain root a subtree search also returns references to other partitions.
    auto users = connection->execute(QStringLiteral("<LDAP://") + domain_->baseDn() +
                                     ">;(&(objectClass=user)(mail=*));name,mail,ADsPath;subtree");
    ASSERT_TRUE(users) << failureSuffix(users.error()).toStdString();
    EXPECT_EQ((*users)->recordCount(), 3);
    auto bad = connection->execute(QStringLiteral("<LDAP://") + domain_->baseDn() +
                                   ">;(mail=x;name;subtree");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().code, 0x8007203Eu);
    auto containers = connection->execute(QStringLiteral("<LDAP://") + domain_->baseDn() +
                                          ">;(objectClass=container);name;onelevel");
    ASSERT_TRUE(containers);
    QStringList names;
    for (; !(*containers)->eof(); (void)(*containers)->moveNext()) {
        names.append(*(*containers)->field(0));
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Users")));
    EXPECT_FALSE(names.contains(QStringLiteral("Vorlane"))) << "OUs are not containers";
}

}  // namespace
}  // namespace vorlane
