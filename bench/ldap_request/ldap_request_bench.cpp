// "Create Group" with a member on a directory server: Vorlane's directory layer against the
// least that a hand-written libldap program does (minimal_request.cpp), alternating in one run
// on the same server; and a level of organizational units loaded whole against the fastest
// libldap retrieval. Prints median ratios. Runs on the throwaway Samba DC:
//   scripts/samba/bench build [requests]
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "directory/ldap/ldap_directory.h"
#include "minimal_request.h"

using namespace vorlane;
using Clock = std::chrono::steady_clock;

namespace {

double medianMs(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double timeMs(const std::function<bool()>& step, bool* ok) {
    const auto start = Clock::now();
    *ok = step() && *ok;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The request as the console's procedures make it, through the directory interface.
bool vorlaneRequest(Directory& directory, const QString& container, const QString& name,
                    const QString& userMail) {
    auto rootDse = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    if (!rootDse) return false;
    auto domain = (*rootDse)->get(QStringLiteral("defaultNamingContext"));
    auto connection = directory.createQueryConnection();
    if (!domain || !connection->open(QStringLiteral("Active Directory Provider"))) return false;
    QueryCommand command(*connection);
    command.setCommandText("<LDAP://" + *domain + ">;(mail=" + userMail + ");ADsPath;subTree");
    auto rows = command.execute();
    if (!rows || (*rows)->eof()) return false;
    const QString userPath = *(*rows)->field(0);
    (void)(*rows)->close();
    (void)connection->close();

    auto parent = directory.bindContainer("LDAP://" + container);
    if (!parent || directory.bindGroup("LDAP://cn=" + name + "," + container)) return false;
    auto created = (*parent)->create(QStringLiteral("group"), "cn=" + name);
    if (!created) return false;
    auto group = viewAs<DirectoryGroup>(std::move(*created));
    if (!group || !(*group)->put(QStringLiteral("samAccountName"), name) ||
        !(*group)->putInteger(QStringLiteral("groupType"), 8) ||
        !(*group)->setDescription(QStringLiteral("DEZ distribution list")) ||
        !(*group)->setInfo() || !(*group)->mailEnable() || !(*group)->setInfo()) {
        return false;
    }
    auto member = (*group)->isMember(userPath);
    if (!member || *member) return false;
    auto user = directory.bindObject(userPath);
    return user && (*group)->add((*user)->adsPath()) && (*group)->setInfo();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int requests = argc > 1 ? std::max(3, atoi(argv[1])) : 25;
    const QString base = qEnvironmentVariable("VORLANE_SAMBA_BASE_DN");
    const LdapConfiguration configuration = readLdapConfiguration();
    if (base.isEmpty() || configuration.uri.isEmpty()) {
        std::fprintf(stderr, "needs the Samba DC of scripts/samba/run-tests (see the source)\n");
        return 2;
    }
    const QString container = "OU=Groups,OU=Vorlane," + base;
    const QString userMail = QStringLiteral("carol.clark@vorlane.test");
    const QString run = QString::number(QCoreApplication::applicationPid());

    bench::MinimalRequest minimal;
    if (!minimal.connect(configuration.uri, configuration.saslMech)) {
        std::fprintf(stderr, "libldap bind failed\n");
        return 1;
    }
    LdapDirectory directory(configuration, LdapOptions{});
    (void)directory.bindObject(QStringLiteral("LDAP://rootDSE"));  // bind outside the timing

    bool ok = true;
    std::vector<double> minimalTimes, vorlaneTimes;
    quint64 vorlaneTrips = 0;
    for (int i = 0; i < requests; ++i) {
        const QString suffix = run + "-" + QString::number(i);
        minimalTimes.push_back(
            timeMs([&] { return minimal.run(container, "benchMin-" + suffix, userMail); }, &ok));
        const quint64 before = directory.connection().roundTrips();
        vorlaneTimes.push_back(timeMs(
            [&] { return vorlaneRequest(directory, container, "benchVor-" + suffix, userMail); },
            &ok));
        vorlaneTrips = directory.connection().roundTrips() - before;
    }
    if (!ok) {
        std::fprintf(stderr, "a request failed\n");
        return 1;
    }
    std::printf(
        "Create Group with a member, median of %d: Vorlane / minimal libldap = %.2f "
        "(%d requests Vorlane sends on a warm connection, 9 minimal)\n",
        requests, medianMs(vorlaneTimes) / medianMs(minimalTimes), static_cast<int>(vorlaneTrips));

    // A level of 2,500 organizational units, whole.
    const QString paging = "OU=Paging," + base;
    auto connection = directory.createQueryConnection();
    (void)connection->open(QStringLiteral("Active Directory Provider"));
    LdapOptions capped;
    capped.unpagedSizeLimit = 1000;
    LdapDirectory cappedDirectory(configuration, capped);
    auto cappedConnection = cappedDirectory.createQueryConnection();
    (void)cappedConnection->open(QStringLiteral("Active Directory Provider"));
    const QString level = "<LDAP://" + paging + ">;(objectClass=organizationalUnit);name;onelevel";
    (void)cappedConnection->execute(level);  // learns that it must page
    std::vector<double> unpaged, paged, vorlaneLevel, vorlanePaged;
    for (int i = 0; i < std::max(5, requests / 3); ++i) {
        unpaged.push_back(timeMs([&] { return minimal.level(paging, 0) == 2500; }, &ok));
        paged.push_back(timeMs([&] { return minimal.level(paging, 1000) == 2500; }, &ok));
        vorlaneLevel.push_back(timeMs(
            [&] {
                auto rows = connection->execute(level);
                return rows && (*rows)->recordCount() == 2500;
            },
            &ok));
        vorlanePaged.push_back(timeMs(
            [&] {
                auto rows = cappedConnection->execute(level);
                return rows && (*rows)->recordCount() == 2500;
            },
            &ok));
    }
    if (!ok) {
        std::fprintf(stderr, "a level search failed\n");
        return 1;
    }
    const double fastest = std::min(medianMs(unpaged), medianMs(paged));
    std::printf(
        "Level of 2,500 OUs, median: Vorlane / fastest libldap retrieval = %.2f "
        "(libldap paged at 1000 / unpaged = %.2f; Vorlane held to 1000 unpaged, as on "
        "Windows, / libldap paged = %.2f)\n",
        medianMs(vorlaneLevel) / fastest, medianMs(paged) / medianMs(unpaged),
        medianMs(vorlanePaged) / medianMs(paged));
    return 0;
}
