#include "directory/embedded/embedded_objects.h"

#include "directory/platform/ads_path.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

namespace {

// The common part of every view, over one property cache.
template <class Interface>
class CachedObject : public Interface {
  public:
    explicit CachedObject(PropertyCache cache) : cache_(std::move(cache)) {}

    QString adsPath() const override { return cache_.adsPath(); }
    Result<QStringList> getValues(const QString& name) const override {
        return cache_.getValues(name);
    }
    Result<void> put(const QString& name, const QString& value) override {
        return cache_.put(name, value);
    }
    Result<void> setInfo() override { return cache_.setInfo(); }

  protected:
    PropertyCache cache_;
};

using LeafObject = CachedObject<DirectoryObject>;

// The member named by a path: the DN inside it, or the empty text for an empty path.
Result<QString> memberDn(const QString& memberPath) {
    if (memberPath.isEmpty()) return QString();
    auto path = parseAdsPath(memberPath);
    if (!path) return fail(path.error());
    if (path->rootDse) return fail(failureFromLdapResult(ldap_result::kInvalidDnSyntax));
    return path->dn;
}

class GroupObject : public CachedObject<DirectoryGroup> {
  public:
    using CachedObject::CachedObject;

    Result<QString> description() const override {
        auto values = cache_.getValues(QStringLiteral("description"));
        if (!values) return fail(values.error());
        return values->front();
    }
    Result<void> setDescription(const QString& text) override {
        return cache_.put(QStringLiteral("description"), text);
    }

    Result<bool> isMember(const QString& memberPath) override {
        auto member = memberDn(memberPath);
        if (!member) return fail(member.error());
        auto dn = Dn::parse(*member);
        if (!dn) return fail(dn.error());
        const Entry* group = cache_.store().find(cache_.dn());
        if (!group) return fail(failureFromLdapResult(ldap_result::kNoSuchObject));
        if (const QStringList* members = group->attributes.values(QStringLiteral("member"))) {
            const QString key = dn->key();
            for (const QString& value : *members) {
                auto stored = Dn::parse(value);
                if (stored && stored->key() == key) return true;
            }
        }
        return false;
    }

    Result<void> add(const QString& memberPath) override {
        if (cache_.isNew()) return fail(failures::objectUnbound());
        auto member = memberDn(memberPath);
        if (!member) return fail(member.error());
        return cache_.store().addMember(cache_.dn(), *member);
    }

    Result<void> remove(const QString& memberPath) override {
        if (cache_.isNew()) return fail(failures::objectUnbound());
        auto member = memberDn(memberPath);
        if (!member) return fail(member.error());
        return cache_.store().removeMember(cache_.dn(), *member);
    }

    Result<void> mailEnable() override {
        cache_.requestMailEnable();
        return {};
    }
};

class ContainerObject : public CachedObject<DirectoryContainer> {
  public:
    ContainerObject(PropertyCache cache, std::shared_ptr<DirectoryStore> store, QString server)
        : CachedObject(std::move(cache)), store_(std::move(store)), server_(std::move(server)) {}

    Result<std::unique_ptr<DirectoryObject>> create(const QString& objectClass,
                                                    const QString& rdn) override {
        auto dn = Dn::parse(rdn + u',' + cache_.dn().toString());
        if (!dn) return fail(dn.error());
        if (rdn.isEmpty() || dn->size() != cache_.dn().size() + 1) {
            return fail(failureFromLdapResult(ldap_result::kInvalidDnSyntax));
        }
        AttributeMap values;
        values.set(QStringLiteral("objectClass"), {objectClass});
        PropertyCache cache(store_, server_, *dn, true, std::move(values));
        if (objectClass.compare(QStringLiteral("group"), Qt::CaseInsensitive) == 0) {
            return std::make_unique<GroupObject>(std::move(cache));
        }
        if (objectClass.compare(QStringLiteral("container"), Qt::CaseInsensitive) == 0 ||
            objectClass.compare(QStringLiteral("organizationalUnit"), Qt::CaseInsensitive) == 0) {
            return std::make_unique<ContainerObject>(std::move(cache), store_, server_);
        }
        return std::make_unique<LeafObject>(std::move(cache));
    }

  private:
    std::shared_ptr<DirectoryStore> store_;
    QString server_;
};

class RootDseObject : public DirectoryObject {
  public:
    RootDseObject(AttributeMap values, QString server)
        : values_(std::move(values)), server_(std::move(server)) {}

    QString adsPath() const override {
        return server_.isEmpty() ? QStringLiteral("LDAP://rootDSE")
                                 : QStringLiteral("LDAP://") + server_ + QStringLiteral("/rootDSE");
    }
    Result<QStringList> getValues(const QString& name) const override {
        const QStringList* values = values_.values(name);
        if (!values) return fail(failures::propertyNotFound());
        return *values;
    }
    Result<void> put(const QString& name, const QString& value) override {
        values_.set(name, {value});
        return {};
    }
    Result<void> setInfo() override {
        return fail(failureFromLdapResult(ldap_result::kUnwillingToPerform));
    }

  private:
    AttributeMap values_;
    QString server_;
};

}  // namespace

PropertyCache::PropertyCache(std::shared_ptr<DirectoryStore> store, QString server, Dn dn,
                             bool isNew, AttributeMap values)
    : store_(std::move(store)),
      server_(std::move(server)),
      dn_(std::move(dn)),
      isNew_(isNew),
      values_(std::move(values)) {}

QString PropertyCache::adsPath() const {
    return formatAdsPath(server_, dn_.toString());
}

Result<QStringList> PropertyCache::getValues(const QString& name) const {
    for (auto it = staged_.rbegin(); it != staged_.rend(); ++it) {
        if (it->first.compare(name, Qt::CaseInsensitive) == 0) {
            if (it->second.isEmpty()) break;
            return it->second;
        }
    }
    const QStringList* values = values_.values(name);
    if (!values || values->isEmpty()) return fail(failures::propertyNotFound());
    return *values;
}

Result<void> PropertyCache::put(const QString& name, const QString& value) {
    std::erase_if(staged_, [&](const auto& change) {
        return change.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    staged_.emplace_back(name, QStringList{value});
    return {};
}

// MailEnable without a target address: the alias is the account name, numbered 2, 3, ...
// when the address it gives is already another object's mail or proxy address.
Replacements PropertyCache::mailEnableValues() const {
    auto account = getValues(QStringLiteral("sAMAccountName"));
    const QString alias = account ? account->front() : dn_.firstRdn().front().value;
    const QString domain = store_->dnsDomainName();
    QString nickname = alias;
    for (int number = 2; store_->isAddressTaken(nickname + u'@' + domain, dn_); ++number) {
        nickname = alias + QString::number(number);
    }
    const QString address = nickname + u'@' + domain;
    Replacements values;
    // A schema without mailNickname (Samba's default) gets the address alone.
    if (store_->schema().hasMailNickname) {
        values.emplace_back(QStringLiteral("mailNickname"), QStringList{nickname});
    }
    values.emplace_back(QStringLiteral("mail"), QStringList{address});
    values.emplace_back(QStringLiteral("proxyAddresses"),
                        QStringList{QStringLiteral("SMTP:") + address});
    return values;
}

Result<void> PropertyCache::setInfo() {
    Replacements changes = staged_;
    if (mailEnablePending_) {
        for (auto& change : mailEnableValues()) changes.push_back(std::move(change));
    }
    Result<void> written;
    if (isNew_) {
        AttributeMap attributes = values_;
        for (const auto& [name, values] : changes) attributes.set(name, values);
        written = store_->add(dn_, attributes);
    } else if (!changes.empty()) {
        written = store_->modify(dn_, changes);
    }
    if (!written) return written;
    isNew_ = false;
    staged_.clear();
    mailEnablePending_ = false;
    if (const Entry* entry = store_->find(dn_)) values_ = entry->attributes;
    return {};
}

std::unique_ptr<DirectoryObject> makeBoundObject(std::shared_ptr<DirectoryStore> store,
                                                 const QString& server, const Entry& entry) {
    PropertyCache cache(store, server, entry.dn, false, entry.attributes);
    if (entry.structuralClass == QStringLiteral("group")) {
        return std::make_unique<GroupObject>(std::move(cache));
    }
    if (entry.structuralClass == QStringLiteral("user")) {
        return std::make_unique<LeafObject>(std::move(cache));
    }
    return std::make_unique<ContainerObject>(std::move(cache), std::move(store), server);
}

std::unique_ptr<DirectoryObject> makeRootDse(const DirectoryStore& store, const QString& server) {
    const QString domain = store.domainDn().toString();
    const QString configuration = QStringLiteral("CN=Configuration,") + domain;
    const QString schema = QStringLiteral("CN=Schema,") + configuration;
    AttributeMap values;
    values.set(QStringLiteral("defaultNamingContext"), {domain});
    values.set(QStringLiteral("rootDomainNamingContext"), {domain});
    values.set(QStringLiteral("configurationNamingContext"), {configuration});
    values.set(QStringLiteral("schemaNamingContext"), {schema});
    values.set(QStringLiteral("namingContexts"), {domain, configuration, schema});
    values.set(QStringLiteral("dnsHostName"), {QStringLiteral("dc1.") + store.dnsDomainName()});
    return std::make_unique<RootDseObject>(std::move(values), server);
}

}  // namespace vorlane::embedded
