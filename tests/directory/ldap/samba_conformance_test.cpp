// The directory conformance suite against the Samba DC. Every case starts from the fixture:
// the fixture's subtrees are deleted (with whatever an earlier case wrote into them) and added
// again, on the domain that scripts/samba/run-tests provisioned.
#include <QList>
#include <algorithm>

#include "directory/ldap/ldap_directory.h"
#include "directory_conformance.h"
#include "samba_domain.h"

namespace vorlane::conformance {
namespace {

struct FixtureEntry {
    QString dn;
    std::vector<LdapChange> attributes;
};

// The fixture's LDIF: "dn:" and "attribute: value" lines, records apart by blank lines.
std::vector<FixtureEntry> parseFixture(const QByteArray& ldif) {
    std::vector<FixtureEntry> entries;
    for (const QByteArray& raw : ldif.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'#')) continue;
        if (line.isEmpty()) continue;
        const qsizetype colon = line.indexOf(u':');
        const QString name = line.left(colon);
        const QString value = line.mid(colon + 1).trimmed();
        if (name.compare(QLatin1String("dn"), Qt::CaseInsensitive) == 0) {
            entries.push_back({value, {}});
            continue;
        }
        auto& attributes = entries.back().attributes;
        auto same = std::ranges::find_if(attributes, [&](const LdapChange& change) {
            return change.attribute.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (same == attributes.end()) {
            attributes.push_back({LdapChange::Kind::Add, name, {value}});
        } else {
            same->values.append(value);
        }
    }
    return entries;
}

// Deletes the fixture's top-level subtrees and adds the fixture again.
::testing::AssertionResult resetFixture(LdapConnection& connection, const QString& domainDn) {
    const std::vector<FixtureEntry> fixture = parseFixture(fixtureLdif(domainDn));
    for (const FixtureEntry& entry : fixture) {
        if (entry.dn.section(u',', 1).compare(domainDn, Qt::CaseInsensitive) != 0) continue;
        auto subtree = connection.search(entry.dn, SearchScope::Subtree,
                                         QStringLiteral("(objectClass=*)"), {"1.1"});
        if (!subtree) {
            if (subtree.error().code == 0x80072030) continue;  // not there yet
            return ::testing::AssertionFailure() << subtree.error().description.toStdString();
        }
        std::vector<QString> dns;
        for (const LdapEntry& found : *subtree) dns.push_back(found.dn);
        // Children before their parents.
        std::ranges::sort(
            dns, [](const QString& a, const QString& b) { return a.count(u',') > b.count(u','); });
        for (const QString& dn : dns) {
            if (auto deleted = connection.deleteEntry(dn); !deleted) {
                return ::testing::AssertionFailure() << "delete " << dn.toStdString() << ": "
                                                     << deleted.error().description.toStdString();
            }
        }
    }
    for (const FixtureEntry& entry : fixture) {
        if (auto added = connection.add(entry.dn, entry.attributes); !added) {
            return ::testing::AssertionFailure() << "add " << entry.dn.toStdString() << ": "
                                                 << added.error().description.toStdString();
        }
    }
    return ::testing::AssertionSuccess();
}

Backend sambaBackend() {
    auto domain = testing::SambaDomain::fromEnvironment();
    const QString domainDn = domain ? domain->baseDn() : QStringLiteral("DC=vorlane,DC=test");
    Backend backend;
    backend.name = QStringLiteral("Samba");
    backend.domainDn = domainDn;
    backend.hasMailNickname = false;
    backend.available = [domain] { return domain.has_value(); };
    backend.open = [domain, domainDn]() -> std::unique_ptr<Directory> {
        auto directory = std::make_unique<LdapDirectory>(domain->configuration(), LdapOptions{});
        EXPECT_TRUE(resetFixture(directory->connection(), domainDn));
        return directory;
    };
    return backend;
}

INSTANTIATE_TEST_SUITE_P(Samba, DirectoryConformance, ::testing::Values(sambaBackend()),
                         backendName);

}  // namespace
}  // namespace vorlane::conformance
