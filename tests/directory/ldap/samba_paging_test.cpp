// A level of 2,500 organizational units, more than a Windows DC returns unpaged.
#include <gtest/gtest.h>

#include "directory/ldap/ldap_directory.h"
#include "samba_domain.h"

namespace vorlane {
namespace {

using testing::SambaDomain;

class SambaPaging : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        domain_ = SambaDomain::fromEnvironment();
        if (!domain_) {
            GTEST_SKIP() << "no Samba domain (run scripts/samba/run-tests)";
        }
        LdapOptions options;
        options.unpagedSizeLimit = GetParam();
        directory_.emplace(domain_->configuration(), options);
        connection_ = directory_->createQueryConnection();
        ASSERT_TRUE(connection_->open(QStringLiteral("Active Directory Provider")));
    }

    Result<std::unique_ptr<RecordSet>> run(const QString& filter, const QString& scope) {
        return connection_->execute(QStringLiteral("<LDAP://OU=Paging,") + domain_->baseDn() +
                                    ">;" + filter + ";name,ADsPath;" + scope);
    }

    std::optional<SambaDomain> domain_;
    std::optional<LdapDirectory> directory_;
    std::unique_ptr<QueryConnection> connection_;
};

TEST_P(SambaPaging, LevelIsLoadedWhole) {
    auto rows = run(QStringLiteral("(objectClass=organizationalUnit)"), QStringLiteral("onelevel"));
    ASSERT_TRUE(rows) << failureSuffix(rows.error()).toStdString();
    EXPECT_EQ((*rows)->recordCount(), 2500);
    QStringList names;
    for (; !(*rows)->eof(); (void)(*rows)->moveNext()) names.append(*(*rows)->field(0));
    names.sort();
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 2500);
    EXPECT_EQ(names.front(), QStringLiteral("Unit 0001"));
    EXPECT_EQ(names.back(), QStringLiteral("Unit 2500"));

    const bool capped = GetParam() > 0;
    EXPECT_EQ(directory_->connection().pagesEverySearch(), capped);
    // bind + one search; capped: bind + the refused unpaged search + three pages of 1000.
    EXPECT_EQ(directory_->connection().roundTrips(), capped ? 5u : 2u);

    // Once a server is known to cap, the next large level goes to paging at once.
    auto again =
        run(QStringLiteral("(objectClass=organizationalUnit)"), QStringLiteral("onelevel"));
    ASSERT_TRUE(again);
    EXPECT_EQ((*again)->recordCount(), 2500);
    EXPECT_EQ(directory_->connection().roundTrips(), capped ? 8u : 3u);
}

TEST_P(SambaPaging, LookupFindsTheLastOne) {
    auto all = run(QStringLiteral("(objectClass=*)"), QStringLiteral("subtree"));
    ASSERT_TRUE(all);
    EXPECT_EQ((*all)->recordCount(), 2501) << "the units and their parent";
    auto last = run(QStringLiteral("(name=Unit 2500)"), QStringLiteral("subtree"));
    ASSERT_TRUE(last);
    ASSERT_EQ((*last)->recordCount(), 1);
    EXPECT_EQ((*last)->field(QStringLiteral("ADsPath")),
              QStringLiteral("LDAP://OU=Unit 2500,OU=Paging,") + domain_->baseDn());
}

// 0: Samba as it is (no cap); 1000: capped like a Windows DC.
INSTANTIATE_TEST_SUITE_P(UnpagedLimit, SambaPaging, ::testing::Values(0, 1000));

}  // namespace
}  // namespace vorlane
