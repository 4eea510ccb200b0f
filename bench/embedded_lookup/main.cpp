// Times the console's mail lookup (a subtree query on mail through the query connection) in a
// directory of 1,000 users and in one of 100,000, and prints the ratio of the two; with the
// mail index it stays near 1.

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "directory/embedded/directory_store.h"
#include "directory/embedded/embedded_directory.h"

using namespace vorlane;
using namespace vorlane::embedded;

namespace {

const QString kDomain = QStringLiteral("DC=example,DC=com");

std::shared_ptr<DirectoryStore> buildDirectory(int users) {
    const Dn domain = *Dn::parse(kDomain);
    auto store = std::make_shared<DirectoryStore>(domain);
    AttributeMap root;
    root.set(QStringLiteral("objectClass"), {QStringLiteral("domainDNS")});
    (void)store->load(domain, root);
    const Dn container = domain.child({{QStringLiteral("CN"), QStringLiteral("Users")}});
    AttributeMap users_;
    users_.set(QStringLiteral("objectClass"), {QStringLiteral("container")});
    (void)store->load(container, users_);
    for (int i = 0; i < users; ++i) {
        const QString name = QStringLiteral("user%1").arg(i);
        AttributeMap user;
        user.set(QStringLiteral("objectClass"), {QStringLiteral("user")});
        user.set(QStringLiteral("sAMAccountName"), {name});
        user.set(QStringLiteral("mail"), {name + QStringLiteral("@example.com")});
        (void)store->load(container.child({{QStringLiteral("CN"), name}}), user);
    }
    return store;
}

// Mean nanoseconds of one lookup of a random user's address.
double lookupTime(const std::shared_ptr<DirectoryStore>& store, int users, int lookups) {
    EmbeddedDirectory directory(store);
    auto connection = directory.createQueryConnection();
    (void)connection->open(QStringLiteral("Active Directory Provider"));
    QRandomGenerator random(42);
    int found = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < lookups; ++i) {
        const int user = static_cast<int>(random.bounded(users));
        auto rows = connection->execute(QStringLiteral("<LDAP://") + kDomain +
                                        QStringLiteral(">;((mail=user%1@example.com));"
                                                       "distinguishedName;subTree")
                                            .arg(user));
        if (rows && (*rows)->recordCount() == 1) ++found;
    }
    const double elapsed = static_cast<double>(timer.nsecsElapsed());
    if (found != lookups) std::fprintf(stderr, "only %d of %d lookups found\n", found, lookups);
    return elapsed / lookups;
}

}  // namespace

int main() {
    // Rounds alternate between the two directories and keep each one's fastest round, so that
    // other work on the machine weighs on both alike.
    const int rounds = 15;
    const int lookups = 2000;
    auto small = buildDirectory(1000);
    auto large = buildDirectory(100000);
    lookupTime(small, 1000, lookups);  // warm up
    double smallTime = 0;
    double largeTime = 0;
    for (int round = 0; round < rounds; ++round) {
        const double s = lookupTime(small, 1000, lookups);
        const double l = lookupTime(large, 100000, lookups);
        smallTime = round == 0 ? s : std::min(smallTime, s);
        largeTime = round == 0 ? l : std::min(largeTime, l);
    }
    std::printf(
        "mail lookup, 100,000 users against 1,000 users: ratio %.2f "
        "(best of %d rounds of %d lookups)\n",
        largeTime / smallTime, rounds, lookups);
    return 0;
}
