#include "directory/ldap/ldap_objects.h"

#include "directory/ldap/ldap_text.h"
#include "directory/ldap/mail_address.h"
#include "directory/platform/ads_path.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane {

namespace {

bool hasClass(const QStringList& objectClasses, const char* name) {
    return objectClasses.contains(QLatin1String(name), Qt::CaseInsensitive);
}

// The value of the first RDN ("Sales" of "CN=Sales,OU=x"), as written in the DN.
QString firstRdnValue(const QString& dn) {
    QString value;
    for (qsizetype i = dn.indexOf(u'=') + 1; i > 0 && i < dn.size(); ++i) {
        if (dn[i] == u'\\' && i + 1 < dn.size()) {
            value += dn[++i];
        } else if (dn[i] == u',' || dn[i] == u'+') {
            break;
        } else {
            value += dn[i];
        }
    }
    return value;
}

Result<QString> memberDn(const QString& memberPath) {
    // An empty path goes to the server as an empty value, which it refuses with its own answer.
    if (memberPath.isEmpty()) return QString();
    auto parsed = parseAdsPath(memberPath);
    if (!parsed) return fail(parsed.error());
    if (parsed->rootDse) return fail(failures::badPathname());
    return parsed->dn;
}

}  // namespace

template <class Interface>
QString LdapObjectBase<Interface>::adsPath() const {
    if (state_.dn.isEmpty()) return formatAdsPath(state_.server, QStringLiteral("rootDSE"));
    return formatAdsPath(state_.server, state_.dn);
}

template <class Interface>
Result<void> LdapObjectBase<Interface>::loadCache() const {
    if (state_.cacheLoaded || !state_.stored) return {};
    auto entry = state_.connection->readEntry(state_.dn, QStringLiteral("(objectClass=*)"), {});
    if (!entry) return fail(entry.error());
    if (!entry->has_value()) return fail(failureFromLdapResult(ldap_result::kNoSuchObject));
    LdapEntry loaded = std::move(**entry);
    for (const auto& [attribute, values] : state_.staged) loaded.set(attribute, values);
    state_.cache = std::move(loaded);
    state_.cacheLoaded = true;
    return {};
}

template <class Interface>
Result<QStringList> LdapObjectBase<Interface>::getValues(const QString& name) const {
    if (auto loaded = loadCache(); !loaded) return fail(loaded.error());
    const QStringList* values = state_.cache.find(name);
    if (!values || values->isEmpty()) return fail(failures::propertyNotFound());
    return *values;
}

template <class Interface>
Result<void> LdapObjectBase<Interface>::put(const QString& name, const QString& value) {
    const QStringList values{value};
    state_.cache.set(name, values);
    for (auto& [attribute, staged] : state_.staged) {
        if (attribute.compare(name, Qt::CaseInsensitive) == 0) {
            staged = values;
            return {};
        }
    }
    state_.staged.emplace_back(name, values);
    return {};
}

template <class Interface>
Result<void> LdapObjectBase<Interface>::setInfo() {
    std::vector<LdapChange> changes;
    for (const auto& [attribute, values] : state_.staged) {
        changes.push_back({LdapChange::Kind::Replace, attribute, values});
    }
    if (state_.mailEnablePending) {
        auto mailValues = mailEnableChanges();
        if (!mailValues) return fail(mailValues.error());
        changes.insert(changes.end(), mailValues->begin(), mailValues->end());
    }
    if (state_.stored && changes.empty()) return {};

    Result<void> written;
    if (state_.stored) {
        written = state_.connection->modify(state_.dn, changes);
    } else {
        changes.insert(changes.begin(),
                       {LdapChange::Kind::Add, "objectClass", {state_.objectClass}});
        written = state_.connection->add(state_.dn, changes);
    }
    if (!written) return written;
    for (const LdapChange& change : changes) state_.cache.set(change.attribute, change.values);
    state_.stored = true;
    state_.mailEnablePending = false;
    state_.staged.clear();
    return {};
}

template <class Interface>
Result<std::vector<LdapChange>> LdapObjectBase<Interface>::mailEnableChanges() const {
    // The account name as written, else as the server has it (it makes one when none is given).
    const QStringList* written = state_.cache.find(QStringLiteral("sAMAccountName"));
    const auto account = written && !written->isEmpty()
                             ? Result<QString>(written->front())
                             : this->get(QStringLiteral("sAMAccountName"));
    const QString alias = account ? *account : firstRdnValue(state_.dn);
    const QString domain = dnsDomainOf(state_.dn);
    // Like Exchange, an address that another object carries is not given twice. One search asks
    // for the first candidates by equality, which the server answers from its indexes; only
    // when all of them are taken does a further search ask for the next ones.
    constexpr int kCandidates = 3;
    QSet<QString> taken;
    for (int first = 1;; first += kCandidates) {
        QString filter = QStringLiteral("(|");
        for (int number = first; number < first + kCandidates; ++number) {
            const QString candidate = escapeFilterValue(
                (number == 1 ? alias : alias + QString::number(number)) + u'@' + domain);
            filter += QStringLiteral("(mail=") + candidate +
                      QStringLiteral(")(proxyAddresses=smtp:") + candidate + u')';
        }
        filter += u')';
        auto carriers =
            state_.connection->search(domainDnOf(state_.dn), SearchScope::Subtree, filter,
                                      {QStringLiteral("mail"), QStringLiteral("proxyAddresses")});
        if (!carriers) return fail(carriers.error());
        for (const LdapEntry& entry : *carriers) {
            if (entry.dn.compare(state_.dn, Qt::CaseInsensitive) == 0) continue;
            if (const QStringList* mail = entry.find(QStringLiteral("mail"))) {
                for (const QString& address : *mail) taken.insert(address.toLower());
            }
            if (const QStringList* proxies = entry.find(QStringLiteral("proxyAddresses"))) {
                for (const QString& proxy : *proxies) {
                    if (proxy.startsWith(QLatin1String("smtp:"), Qt::CaseInsensitive)) {
                        taken.insert(proxy.mid(5).toLower());
                    }
                }
            }
        }
        // The candidates are taken in order: a free one was asked for unless the last is taken.
        const QString last = alias + QString::number(first + kCandidates - 1) + u'@' + domain;
        if (!taken.contains(last.toLower())) break;
    }
    const QString nickname = freeAlias(alias, domain, taken);
    const QString address = nickname + u'@' + domain;

    std::vector<LdapChange> changes;
    auto hasNickname = state_.connection->schemaHasAttribute(QStringLiteral("mailNickname"));
    if (!hasNickname) return fail(hasNickname.error());
    if (*hasNickname) changes.push_back({LdapChange::Kind::Replace, "mailNickname", {nickname}});
    changes.push_back({LdapChange::Kind::Replace, "mail", {address}});
    changes.push_back({LdapChange::Kind::Replace, "proxyAddresses", {"SMTP:" + address}});
    return changes;
}

template class LdapObjectBase<DirectoryObject>;
template class LdapObjectBase<DirectoryGroup>;
template class LdapObjectBase<DirectoryContainer>;

Result<bool> LdapGroup::isMember(const QString& memberPath) {
    auto dn = memberDn(memberPath);
    if (!dn) return fail(dn.error());
    // A filter on member answers for groups of any size, where reading the values would not
    // (large member values come in ranges).
    auto found = state_.connection->readEntry(
        state_.dn, QStringLiteral("(member=") + escapeFilterValue(*dn) + u')',
        {QStringLiteral("1.1")});
    if (!found) return fail(found.error());
    return found->has_value();
}

Result<void> LdapGroup::add(const QString& memberPath) {
    auto dn = memberDn(memberPath);
    if (!dn) return fail(dn.error());
    return state_.connection->modify(state_.dn, {{LdapChange::Kind::Add, "member", {*dn}}});
}

Result<void> LdapGroup::remove(const QString& memberPath) {
    auto dn = memberDn(memberPath);
    if (!dn) return fail(dn.error());
    return state_.connection->modify(state_.dn, {{LdapChange::Kind::Delete, "member", {*dn}}});
}

Result<void> LdapGroup::mailEnable() {
    state_.mailEnablePending = true;
    return {};
}

Result<std::unique_ptr<DirectoryObject>> LdapContainer::create(const QString& objectClass,
                                                               const QString& rdn) {
    LdapObjectState child;
    child.connection = state_.connection;
    child.server = state_.server;
    child.dn = rdn + u',' + state_.dn;
    child.objectClass = objectClass;
    return makeLdapObject(std::move(child), {objectClass});
}

bool isGroupClass(const QStringList& objectClasses) {
    return hasClass(objectClasses, "group");
}

bool isContainerClass(const QStringList& objectClasses) {
    // Users, computers and contacts are leaves to the program, whatever the schema allows.
    return !objectClasses.isEmpty() && !isGroupClass(objectClasses) &&
           !hasClass(objectClasses, "user") && !hasClass(objectClasses, "person") &&
           !hasClass(objectClasses, "contact") && !hasClass(objectClasses, "computer");
}

std::unique_ptr<DirectoryObject> makeLdapObject(LdapObjectState state,
                                                const QStringList& objectClasses) {
    if (isGroupClass(objectClasses)) return std::make_unique<LdapGroup>(std::move(state));
    if (isContainerClass(objectClasses)) return std::make_unique<LdapContainer>(std::move(state));
    return std::make_unique<LdapObject>(std::move(state));
}

}  // namespace vorlane
