#include "directory/embedded/directory_store.h"

#include <QUuid>

#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

namespace {

const QString kMail = QStringLiteral("mail");
const QString kProxyAddresses = QStringLiteral("proxyaddresses");
const QString kSamAccountName = QStringLiteral("samaccountname");
const QString kMember = QStringLiteral("member");

Failure ldapFailure(int code, const QString& diagnostic = {}) {
    return failureFromLdapResult(code, diagnostic);
}

bool isInScope(const Entry& entry, const Entry& base, SearchScope scope) {
    switch (scope) {
        case SearchScope::Base:
            return entry.sequence == base.sequence;
        case SearchScope::OneLevel:
            return entry.dn.size() == base.dn.size() + 1 && entry.key.endsWith(base.key) &&
                   entry.dn.isWithin(base.dn);
        case SearchScope::Subtree:
            return entry.key.endsWith(base.key) && entry.dn.isWithin(base.dn);
    }
    return false;
}

}  // namespace

DirectoryStore::DirectoryStore(const Dn& domain, SchemaOptions options)
    : domain_(domain), options_(options) {
    for (const QString& name : {kMail, kProxyAddresses, kSamAccountName}) valueIndexes_[name];
}

QString DirectoryStore::dnsDomainName() const {
    QStringList labels;
    for (const Rdn& rdn : domain_.rdns()) {
        for (const DnAva& ava : rdn) {
            if (ava.type.compare(QStringLiteral("DC"), Qt::CaseInsensitive) == 0) {
                labels << ava.value;
            }
        }
    }
    return labels.join(u'.');
}

const Entry* DirectoryStore::find(const Dn& dn) const {
    auto it = byKey_.constFind(dn.key());
    return it == byKey_.constEnd() ? nullptr : entryBySequence(*it);
}

const Entry* DirectoryStore::entryBySequence(quint64 sequence) const {
    auto it = entries_.find(sequence);
    return it == entries_.end() ? nullptr : &it->second;
}

Result<const Entry*> DirectoryStore::lookup(const QString& dnText) const {
    auto dn = Dn::parse(dnText);
    if (!dn) return fail(dn.error());
    const Entry* entry = find(*dn);
    if (!entry) return fail(ldapFailure(ldap_result::kNoSuchObject));
    return entry;
}

Result<void> DirectoryStore::add(const Dn& dn, const AttributeMap& attributes) {
    return insert(dn, attributes, true);
}

Result<void> DirectoryStore::load(const Dn& dn, const AttributeMap& attributes) {
    return insert(dn, attributes, false);
}

Result<void> DirectoryStore::insert(const Dn& dn, AttributeMap attributes, bool checkNew) {
    const QString dnText = dn.toString();
    if (dn.isEmpty()) return fail(ldapFailure(ldap_result::kUnwillingToPerform));
    if (find(dn)) {
        return fail(ldapFailure(ldap_result::kEntryAlreadyExists,
                                QStringLiteral("Entry %1 already exists").arg(dnText)));
    }
    const Entry* parent = find(dn.parent());
    const bool isRoot = entries_.empty() && dn == domain_;
    if (!parent && !isRoot) {
        return fail(ldapFailure(
            ldap_result::kNoSuchObject,
            QStringLiteral("00002030: objectclass: Cannot add %1, parent does not exist!")
                .arg(dnText)));
    }
    const QStringList* classes = attributes.values(QStringLiteral("objectClass"));
    const ObjectClass* objectClass = classes ? structuralClassOf(*classes) : nullptr;
    if (!objectClass) {
        return fail(ldapFailure(ldap_result::kObjectClassViolation,
                                QStringLiteral("objectclass: Cannot find a known structural "
                                               "objectClass for %1!")
                                    .arg(dnText)));
    }
    if (parent && !objectClass->parents.contains(parent->structuralClass)) {
        return fail(ldapFailure(
            ldap_result::kNamingViolation,
            QStringLiteral("00002037: structural objectClass %1 is not a valid child class for %2")
                .arg(objectClass->name, parent->dn.toString())));
    }
    if (isRoot != (objectClass->name == QStringLiteral("domainDNS"))) {
        return fail(ldapFailure(ldap_result::kNamingViolation));
    }
    const Rdn& rdn = dn.firstRdn();
    if (rdn.size() != 1 || rdn.front().type.compare(objectClass->namingType, Qt::CaseInsensitive)) {
        return fail(ldapFailure(
            ldap_result::kNamingViolation,
            QStringLiteral("00002037: objectclass: Invalid RDN '%1' for objectclass '%2'!")
                .arg(rdn.front().type.toUpper(), objectClass->name)));
    }

    Entry entry;
    entry.dn = dn;
    entry.key = dn.key();
    entry.structuralClass = objectClass->name.toLower();
    if (checkNew) {
        Replacements written;
        for (const auto& [lower, attribute] : attributes.all()) {
            if (lower != QStringLiteral("objectclass")) {
                written.emplace_back(attribute.name, attribute.values);
            }
        }
        if (auto checked = checkValues(entry, written); !checked) return fail(checked.error());
    }
    const QString rdnValue = rdn.front().value;
    attributes.set(QStringLiteral("objectClass"), objectClass->chain);
    attributes.set(objectClass->namingType.toLower(), {rdnValue});
    attributes.set(QStringLiteral("name"), {rdnValue});
    attributes.set(QStringLiteral("distinguishedName"), {dnText});
    if (!attributes.contains(QStringLiteral("objectGUID"))) {
        attributes.set(QStringLiteral("objectGUID"),
                       {QUuid::createUuid().toString(QUuid::WithoutBraces)});
    }
    if (objectClass->securityPrincipal) {
        if (!attributes.contains(kSamAccountName)) {
            attributes.set(QStringLiteral("sAMAccountName"), {generatedSamAccountName()});
        }
        const QString account = attributes.first(kSamAccountName);
        if (valueIndexes_[kSamAccountName].contains(account.toCaseFolded())) {
            return fail(
                ldapFailure(ldap_result::kEntryAlreadyExists,
                            QStringLiteral("00002071: samldb: samAccountName '%1' already in use!")
                                .arg(account)));
        }
    }
    if (objectClass->name == QStringLiteral("group")) {
        if (const QStringList* type = attributes.values(QStringLiteral("groupType"))) {
            auto checked = checkGroupType(type->front());
            if (!checked) return fail(checked.error());
            attributes.set(QStringLiteral("groupType"), {QString::number(*checked)});
        } else {
            attributes.set(QStringLiteral("groupType"), {QString::number(kDefaultGroupType)});
        }
    }
    entry.attributes = std::move(attributes);
    entry.sequence = nextSequence_++;
    const quint64 sequence = entry.sequence;
    const QString key = entry.key;
    const QString parentKey = dn.parent().key();
    auto [it, inserted] = entries_.emplace(sequence, std::move(entry));
    byKey_.insert(key, sequence);
    if (!isRoot) children_[parentKey].emplace(sequence, &it->second);
    index(it->second);
    if (!checkNew) return {};
    return commit([this, sequence, key, parentKey] {
        unindex(entries_.at(sequence));
        children_[parentKey].erase(sequence);
        byKey_.remove(key);
        entries_.erase(sequence);
    });
}

// The rules for values a client writes: known, non-empty, not the directory's own, and the
// server's rules for account names, group types and member names.
Result<void> DirectoryStore::checkValues(const Entry& entry, const Replacements& written) const {
    const QString dnText = entry.dn.toString();
    for (const auto& [name, values] : written) {
        const QString lower = name.toLower();
        if (!isKnownAttribute(lower, options_)) {
            return fail(ldapFailure(
                ldap_result::kNoSuchAttribute,
                QStringLiteral("objectclass_attrs: attribute '%1' on entry '%2' was not found "
                               "in the schema!")
                    .arg(name, dnText)));
        }
        for (const QString& value : values) {
            if (value.isEmpty()) {
                return fail(ldapFailure(
                    ldap_result::kInvalidAttributeSyntax,
                    QStringLiteral("Element %1 has empty attribute in ldb message").arg(name)));
            }
        }
        if (isSystemAttribute(lower)) return fail(ldapFailure(ldap_result::kConstraintViolation));
        if (lower == kSamAccountName) {
            if (values.size() != 1) return fail(ldapFailure(ldap_result::kConstraintViolation));
            if (auto checked = checkSamAccountName(values.front(), dnText); !checked) {
                return fail(checked.error());
            }
        }
        if (lower == kMember) {
            for (const QString& value : values) {
                auto member = lookup(value);
                if (!member) return fail(member.error());
            }
        }
    }
    return {};
}

Result<void> DirectoryStore::modify(const Dn& dn, const Replacements& replacements) {
    auto found = byKey_.constFind(dn.key());
    if (found == byKey_.constEnd()) return fail(ldapFailure(ldap_result::kNoSuchObject));
    Entry& entry = entries_.at(*found);
    const ObjectClass* objectClass = findObjectClass(entry.structuralClass);
    for (const auto& [name, values] : replacements) {
        const QString lower = name.toLower();
        if (lower == QStringLiteral("objectclass")) {
            return fail(ldapFailure(69));
        }
        if (lower == QStringLiteral("name") || lower == objectClass->namingType.toLower()) {
            return fail(ldapFailure(67));
        }
    }
    if (auto checked = checkValues(entry, replacements); !checked) return fail(checked.error());

    AttributeMap updated = entry.attributes;
    for (const auto& [name, written] : replacements) {
        const QString lower = name.toLower();
        QStringList values = written;
        if (lower == kSamAccountName && !values.isEmpty()) {
            const auto& index = *valueIndexes_.constFind(kSamAccountName);
            auto owners = index.constFind(values.front().toCaseFolded());
            if (owners != index.constEnd() && !owners->contains(entry.sequence)) {
                return fail(ldapFailure(
                    ldap_result::kEntryAlreadyExists,
                    QStringLiteral("00002071: samldb: samAccountName '%1' already in use!")
                        .arg(values.front())));
            }
        } else if (lower == QStringLiteral("grouptype") && !values.isEmpty()) {
            auto checked = checkGroupType(values.front());
            if (!checked) return fail(checked.error());
            values = {QString::number(*checked)};
        } else if (lower == kMember) {
            for (QString& value : values) value = (*lookup(value))->dn.toString();
        }
        updated.set(name, values);
    }
    AttributeMap previous = entry.attributes;
    unindex(entry);
    entry.attributes = std::move(updated);
    index(entry);
    const quint64 sequence = entry.sequence;
    return commit([this, sequence, previous] {
        Entry& changed = entries_.at(sequence);
        unindex(changed);
        changed.attributes = previous;
        index(changed);
    });
}

Result<DirectoryStore::MemberChange> DirectoryStore::memberChange(
    const Dn& group, const QString& memberDn, const Failure& whenMemberMissing) const {
    const Entry* entry = find(group);
    if (!entry) return fail(ldapFailure(ldap_result::kNoSuchObject));
    if (memberDn.isEmpty()) {
        return fail(
            ldapFailure(ldap_result::kInvalidAttributeSyntax,
                        QStringLiteral("Element member has empty attribute in ldb message")));
    }
    auto dn = Dn::parse(memberDn, QStringLiteral("could not parse %1 as a DSDB DN").arg(memberDn));
    if (!dn) return fail(dn.error());
    const Entry* member = find(*dn);
    if (!member) return fail(whenMemberMissing);
    MemberChange change{member, {}};
    if (const QStringList* current = entry->attributes.values(kMember)) change.members = *current;
    return change;
}

qsizetype DirectoryStore::MemberChange::position() const {
    for (qsizetype i = 0; i < members.size(); ++i) {
        if (auto existing = Dn::parse(members[i]); existing && existing->key() == member->key)
            return i;
    }
    return -1;
}

QString DirectoryStore::MemberChange::memberGuid() const {
    return member->attributes.first(QStringLiteral("objectGUID"));
}

Result<void> DirectoryStore::addMember(const Dn& group, const QString& memberDn) {
    auto change = memberChange(
        group, memberDn,
        ldapFailure(ldap_result::kNoSuchObject,
                    QStringLiteral("00000525: specified dn doesn't exist: %1").arg(memberDn)));
    if (!change) return fail(change.error());
    if (change->position() >= 0) {
        return fail(ldapFailure(ldap_result::kEntryAlreadyExists,
                                QStringLiteral("Attribute member already exists for target GUID %1")
                                    .arg(change->memberGuid())));
    }
    change->members << change->member->dn.toString();
    return modify(group, {{QStringLiteral("member"), change->members}});
}

Result<void> DirectoryStore::removeMember(const Dn& group, const QString& memberDn) {
    auto change = memberChange(
        group, memberDn,
        ldapFailure(ldap_result::kUnwillingToPerform,
                    QStringLiteral("00002035: Unable to find GUID for DN %1").arg(memberDn)));
    if (!change) return fail(change.error());
    const qsizetype position = change->position();
    if (position < 0) {
        return fail(ldapFailure(ldap_result::kUnwillingToPerform,
                                QStringLiteral("Attribute member doesn't exist for target GUID %1")
                                    .arg(change->memberGuid())));
    }
    change->members.removeAt(position);
    return modify(group, {{QStringLiteral("member"), change->members}});
}

bool DirectoryStore::isAddressTaken(const QString& address, const Dn& except) const {
    const Entry* self = find(except);
    const quint64 selfSequence = self ? self->sequence : 0;
    const QString folded = address.toCaseFolded();
    const auto taken = [&](const QString& attribute, const QString& value) {
        const auto& index = *valueIndexes_.constFind(attribute);
        auto owners = index.constFind(value);
        if (owners == index.constEnd()) return false;
        return owners->size() > (owners->contains(selfSequence) ? 1u : 0u);
    };
    return taken(kMail, folded) || taken(kProxyAddresses, QStringLiteral("smtp:") + folded);
}

void DirectoryStore::index(const Entry& entry) {
    for (auto it = valueIndexes_.begin(); it != valueIndexes_.end(); ++it) {
        if (const QStringList* values = entry.attributes.values(it.key())) {
            for (const QString& value : *values) {
                (*it)[value.toCaseFolded()].emplace(entry.sequence, &entry);
            }
        }
    }
}

void DirectoryStore::unindex(const Entry& entry) {
    for (auto it = valueIndexes_.begin(); it != valueIndexes_.end(); ++it) {
        if (const QStringList* values = entry.attributes.values(it.key())) {
            for (const QString& value : *values) {
                auto owners = it->find(value.toCaseFolded());
                if (owners == it->end()) continue;
                owners->erase(entry.sequence);
                if (owners->empty()) it->erase(owners);
            }
        }
    }
}

Result<void> DirectoryStore::commit(const std::function<void()>& undo) {
    if (!commitHook_) return {};
    auto saved = commitHook_(*this);
    if (!saved) {
        undo();
        return fail(saved.error());
    }
    return {};
}

const DirectoryStore::EntrySet* DirectoryStore::indexedCandidates(
    const Filter& filter, const QHash<QString, QHash<QString, EntrySet>>& indexes) {
    static const EntrySet kNone;
    if (filter.kind == Filter::Kind::Equality) {
        auto index = indexes.constFind(filter.attribute);
        if (index == indexes.constEnd()) return nullptr;
        auto owners = index->constFind(filter.value.toCaseFolded());
        return owners == index->constEnd() ? &kNone : &*owners;
    }
    if (filter.kind == Filter::Kind::And) {
        for (const Filter& child : filter.children) {
            if (const auto* found = indexedCandidates(child, indexes)) return found;
        }
    }
    return nullptr;
}

Result<SearchPage> DirectoryStore::search(const SearchRequest& request) const {
    const Entry* base = find(request.base);
    if (!base) return fail(ldapFailure(ldap_result::kNoSuchObject));
    quint64 after = 0;
    if (!request.cookie.isEmpty()) {
        bool ok = false;
        after = request.cookie.toULongLong(&ok);
        if (!ok) return fail(ldapFailure(ldap_result::kUnwillingToPerform));
    }

    SearchPage page;
    const int limit = request.pageSize > 0 ? request.pageSize : kMaxUnpagedEntries;
    const auto valuesOf = [](const Entry& entry) {
        return [&entry](const QString& name) { return entry.attributes.values(name); };
    };
    // Visits candidates in the order of adding, after the cookie; false stops the walk.
    // Everything stored lies below the domain: a subtree search from it checks no names.
    const bool wholeDomain =
        request.scope == SearchScope::Subtree && base->dn.size() == domain_.size();
    const auto visit = [&](const Entry& entry) {
        if (!wholeDomain && !isInScope(entry, *base, request.scope)) return true;
        if (!matches(request.filter, valuesOf(entry))) return true;
        if (static_cast<int>(page.entries.size()) == limit) {
            if (request.pageSize > 0) {
                page.cookie = QByteArray::number(page.entries.back()->sequence);
            } else {
                page.resultCode = ldap_result::kSizeLimitExceeded;
            }
            return false;
        }
        page.entries.push_back(&entry);
        return true;
    };
    const auto walk = [&](const EntrySet& candidates) {
        for (auto it = candidates.upper_bound(after); it != candidates.end(); ++it) {
            if (!visit(*it->second)) return;
        }
    };

    if (const auto* indexed = indexedCandidates(request.filter, valueIndexes_)) {
        walk(*indexed);
    } else if (request.scope == SearchScope::Base) {
        if (base->sequence > after) visit(*base);
    } else if (request.scope == SearchScope::OneLevel) {
        auto children = children_.constFind(base->key);
        if (children != children_.constEnd()) walk(*children);
    } else {
        for (auto it = entries_.upper_bound(after); it != entries_.end(); ++it) {
            if (!visit(it->second)) break;
        }
    }
    return page;
}

}  // namespace vorlane::embedded
