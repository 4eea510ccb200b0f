// Binding to the test domain the three ways the configuration can ask for.
#include <gtest/gtest.h>

#include "directory/ldap/ldap_directory.h"
#include "directory/platform/ldap_failure.h"
#include "samba_domain.h"

namespace vorlane {
namespace {

using testing::SambaDomain;

class SambaAuthentication : public ::testing::Test {
  protected:
    void SetUp() override {
        domain_ = SambaDomain::fromEnvironment();
        if (!domain_) {
            GTEST_SKIP() << "no Samba domain (run scripts/samba/run-tests)";
        }
    }

    // A simple bind as the administrator, the password given by a prompt that counts its calls.
    LdapDirectory simpleBindDirectory(std::optional<QString> answer) {
        LdapConfiguration configuration{domain_->configuration().uri, {}, domain_->adminDn()};
        LdapOptions options;
        options.askPassword = [this, answer](const QString& account) {
            ++prompts_;
            lastAccount_ = account;
            return answer;
        };
        return LdapDirectory(configuration, options);
    }

    std::optional<SambaDomain> domain_;
    int prompts_ = 0;
    QString lastAccount_;
};

TEST_F(SambaAuthentication, GssapiTakesTheTicketWithoutAskingForAPassword) {
    const LdapConfiguration configuration = domain_->configuration();
    ASSERT_EQ(authenticationFor(configuration), LdapAuthentication::Sasl);
    LdapOptions options;
    options.askPassword = [this](const QString&) {
        ++prompts_;
        return std::optional<QString>();
    };
    LdapDirectory directory(configuration, options);
    auto rootDse = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    ASSERT_TRUE(rootDse) << failureSuffix(rootDse.error()).toStdString();
    EXPECT_EQ((*rootDse)->get(QStringLiteral("defaultNamingContext")), domain_->baseDn());
    // Writing needs an authenticated connection: the administrator's ticket allows it.
    auto container =
        directory.bindContainer(QStringLiteral("LDAP://OU=Groups,OU=Vorlane,") + domain_->baseDn());
    ASSERT_TRUE(container);
    auto group = (*container)
                     ->create(QStringLiteral("group"),
                              QStringLiteral("CN=") + SambaDomain::uniqueName("krb"));
    ASSERT_TRUE(group);
    EXPECT_TRUE((*group)->setInfo()) << "a GSSAPI-bound connection writes";
    EXPECT_EQ(prompts_, 0);
    EXPECT_EQ(directory.connection().roundTrips(), 4u) << "bind, rootDSE, container, add";
}

TEST_F(SambaAuthentication, SimpleBindAsksThePasswordOnceAndWrites) {
    LdapDirectory directory = simpleBindDirectory(domain_->adminPassword());
    auto container =
        directory.bindContainer(QStringLiteral("LDAP://OU=Groups,OU=Vorlane,") + domain_->baseDn());
    ASSERT_TRUE(container) << failureSuffix(container.error()).toStdString();
    auto group = (*container)
                     ->create(QStringLiteral("group"),
                              QStringLiteral("CN=") + SambaDomain::uniqueName("simple"));
    ASSERT_TRUE(group);
    EXPECT_TRUE((*group)->setInfo());
    EXPECT_EQ(prompts_, 1);
    EXPECT_EQ(lastAccount_, domain_->adminDn());
}

TEST_F(SambaAuthentication, RefusedBindReportsTheServersAnswerAndAsksAgainNextTime) {
    LdapDirectory directory = simpleBindDirectory(QStringLiteral("not the password"));
    auto first = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    ASSERT_FALSE(first);
    EXPECT_EQ(first.error().code, 0x8007052Eu);
    EXPECT_TRUE(first.error().description.startsWith(
        QStringLiteral("The user name or password is incorrect. (")))
        << first.error().description.toStdString();
    EXPECT_FALSE(directory.bindObject(QStringLiteral("LDAP://rootDSE")));
    EXPECT_EQ(prompts_, 2) << "a wrong password may be corrected on the next operation";
}

TEST_F(SambaAuthentication, EmptyPasswordIsRefusedWithoutAnAnonymousBind) {
    LdapDirectory directory = simpleBindDirectory(QString());
    auto result = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, 0x8007052Eu);
    EXPECT_EQ(directory.connection().roundTrips(), 0u);
}

TEST_F(SambaAuthentication, CancelledPromptLeavesTheDirectoryUnreachableForTheRun) {
    LdapDirectory directory = simpleBindDirectory(std::nullopt);
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto result = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), failureFromLdapResult(ldap_result::kServerDown));
    }
    EXPECT_EQ(prompts_, 1);
    EXPECT_EQ(directory.connection().roundTrips(), 0u);
}

TEST_F(SambaAuthentication, AnonymousReadsTheRootDse) {
    LdapDirectory directory(LdapConfiguration{domain_->configuration().uri, {}, {}}, {});
    auto rootDse = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    ASSERT_TRUE(rootDse) << failureSuffix(rootDse.error()).toStdString();
    EXPECT_EQ((*rootDse)->get(QStringLiteral("defaultNamingContext")), domain_->baseDn());
    EXPECT_EQ(directory.connection().roundTrips(), 1u) << "no bind request";
}

}  // namespace
}  // namespace vorlane
