// A server that stops, or stops answering, while the connection is open.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "directory/ldap/ldap_directory.h"
#include "directory/platform/ldap_failure.h"
#include "samba_domain.h"

namespace vorlane {
namespace {

using testing::SambaDomain;

class SambaOutage : public ::testing::Test {
  protected:
    void SetUp() override {
        domain_ = SambaDomain::fromEnvironment();
        if (!domain_) {
            GTEST_SKIP() << "no Samba domain (run scripts/samba/run-tests)";
        }
    }
    void TearDown() override {
        if (!domain_) return;
        domain_->thaw();
        if (stopped_) {
            EXPECT_TRUE(domain_->start());
        }
    }

    // The domain object: every bind of it asks the server (the rootDSE is read once a connection).
    QString domainPath() const { return QStringLiteral("LDAP://") + domain_->baseDn(); }

    std::optional<SambaDomain> domain_;
    bool stopped_ = false;
};

TEST_F(SambaOutage, StoppedServerFailsAsDownAndTheRestartedOneIsReachedAgain) {
    LdapDirectory directory(domain_->configuration(), LdapOptions{});
    ASSERT_TRUE(directory.bindObject(domainPath()));

    ASSERT_TRUE(domain_->stop());
    stopped_ = true;
    QElapsedTimer timer;
    timer.start();
    auto down = directory.bindObject(domainPath());
    ASSERT_FALSE(down);
    EXPECT_EQ(down.error().code, failureFromLdapResult(ldap_result::kServerDown).code);
    EXPECT_EQ(down.error().description, QStringLiteral("The server is not operational."));
    EXPECT_LT(timer.elapsed(), 11000);

    ASSERT_TRUE(domain_->start());
    stopped_ = false;
    auto back = directory.bindObject(domainPath());
    EXPECT_TRUE(back) << failureSuffix(back.error()).toStdString();
}

TEST_F(SambaOutage, ServerThatStopsAnsweringFailsAsDownAfterTheTimeout) {
    LdapOptions options;
    options.operationTimeout = std::chrono::milliseconds(1500);
    LdapDirectory directory(domain_->configuration(), options);
    ASSERT_TRUE(directory.bindObject(domainPath()));

    ASSERT_TRUE(domain_->freeze());
    QElapsedTimer timer;
    timer.start();
    auto silent = directory.bindObject(domainPath());
    const qint64 elapsed = timer.elapsed();
    ASSERT_TRUE(domain_->thaw());
    ASSERT_FALSE(silent);
    EXPECT_EQ(silent.error(), failureFromLdapResult(ldap_result::kServerDown));
    EXPECT_GE(elapsed, 1400);
    EXPECT_LT(elapsed, 5000);

    auto back = directory.bindObject(domainPath());
    EXPECT_TRUE(back) << failureSuffix(back.error()).toStdString();
}

}  // namespace
}  // namespace vorlane
