#include "directory/embedded/directory_store.h"

#include <gtest/gtest.h>

#include "directory/embedded/embedded_directory.h"
#include "directory/platform/ldap_failure.h"
#include "provisioned_domain.h"

namespace vorlane::embedded {
namespace {

const QString kDomain = QStringLiteral("DC=example,DC=com");

QByteArray manyUsers(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "dn: CN=User " + n + ",CN=Users," + kDomain.toUtf8() +
                "\nobjectClass: user\nsAMAccountName: user" + n + "\nmail: user" + n +
                "@example.com\n\n";
    }
    return text;
}

SearchRequest everyUser(int pageSize) {
    return {*Dn::parse(kDomain),
            SearchScope::Subtree,
            *parseFilter(QStringLiteral("(objectClass=user)")),
            pageSize,
            {}};
}

TEST(DirectoryStore, SearchWithoutPagingStopsAfterAThousandEntries) {
    auto store = testing::storeFromLdif(kDomain, manyUsers(1500));
    ASSERT_TRUE(store);
    auto page = store->search(everyUser(0));
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->entries.size(), 1000u);
    EXPECT_EQ(page->resultCode, ldap_result::kSizeLimitExceeded);
    EXPECT_TRUE(page->cookie.isEmpty());
}

TEST(DirectoryStore, PagedSearchReturnsEveryEntryOnceInOrder) {
    auto store = testing::storeFromLdif(kDomain, manyUsers(1500));
    ASSERT_TRUE(store);
    SearchRequest request = everyUser(400);
    std::vector<quint64> seen;
    int pages = 0;
    do {
        auto page = store->search(request);
        ASSERT_TRUE(page.has_value());
        EXPECT_EQ(page->resultCode, 0);
        EXPECT_LE(page->entries.size(), 400u);
        for (const Entry* entry : page->entries) seen.push_back(entry->sequence);
        request.cookie = page->cookie;
        ++pages;
    } while (!request.cookie.isEmpty());
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(seen.size(), 1500u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(DirectoryStore, QueryConnectionPagesPastTheCap) {
    auto store = testing::storeFromLdif(kDomain, manyUsers(2300));
    ASSERT_TRUE(store);
    EmbeddedDirectory directory(store);
    auto connection = directory.createQueryConnection();
    ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")));
    auto rows = connection->execute(QStringLiteral("<LDAP://") + kDomain +
                                    QStringLiteral(">;(mail=user*);AdsPath;subtree"));
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ((*rows)->recordCount(), 2300);
}

TEST(DirectoryStore, IndexedLookupsFollowChanges) {
    auto store = testing::storeFromLdif(kDomain, manyUsers(3));
    ASSERT_TRUE(store);
    const Dn user = *Dn::parse(QStringLiteral("CN=User 1,CN=Users,") + kDomain);
    ASSERT_TRUE(
        store->modify(user, {{QStringLiteral("mail"), {QStringLiteral("New@Example.com")}}}));
    const auto find = [&](const char* filter) {
        SearchRequest request{*Dn::parse(kDomain),
                              SearchScope::Subtree,
                              *parseFilter(QString::fromUtf8(filter)),
                              0,
                              {}};
        return store->search(request)->entries.size();
    };
    EXPECT_EQ(find("(mail=user1@example.com)"), 0u);
    EXPECT_EQ(find("(mail=new@example.com)"), 1u);
    EXPECT_EQ(find("(&(objectClass=user)(MAIL=NEW@example.com))"), 1u);
    EXPECT_TRUE(store->isAddressTaken(QStringLiteral("NEW@example.com"), Dn()));
    EXPECT_FALSE(store->isAddressTaken(QStringLiteral("new@example.com"), user));
    // A search base outside the indexed entries still limits the scope.
    SearchRequest elsewhere{*Dn::parse(QStringLiteral("CN=Computers,") + kDomain),
                            SearchScope::Subtree,
                            *parseFilter(QStringLiteral("(mail=new@example.com)")),
                            0,
                            {}};
    EXPECT_TRUE(store->search(elsewhere)->entries.empty());
}

TEST(DirectoryStore, AChangeThatCannotBeSavedIsUndone) {
    auto store = testing::storeFromLdif(kDomain, manyUsers(2));
    ASSERT_TRUE(store);
    store->setCommitHook([](const DirectoryStore&) -> Result<void> {
        return fail(failureFromLdapResult(ldap_result::kOperationsError, QStringLiteral("disk")));
    });
    const Dn user = *Dn::parse(QStringLiteral("CN=User 0,CN=Users,") + kDomain);
    const Dn group = *Dn::parse(QStringLiteral("CN=G,CN=Users,") + kDomain);
    AttributeMap attributes;
    attributes.set(QStringLiteral("objectClass"), {QStringLiteral("group")});
    attributes.set(QStringLiteral("sAMAccountName"), {QStringLiteral("G")});
    EXPECT_EQ(store->add(group, attributes).error().code, 0x80072020u);
    EXPECT_EQ(store->find(group), nullptr);
    EXPECT_FALSE(store->modify(user, {{QStringLiteral("mail"), {QStringLiteral("x@y.z")}}}));
    EXPECT_EQ(store->find(user)->attributes.first(QStringLiteral("mail")), "user0@example.com");
    EXPECT_FALSE(store->isAddressTaken(QStringLiteral("x@y.z"), Dn()));

    store->setCommitHook({});
    ASSERT_TRUE(store->add(group, attributes));
    EXPECT_EQ(store->add(group, attributes).error().code, 0x80071392u);  // taken now
}

}  // namespace
}  // namespace vorlane::embedded
