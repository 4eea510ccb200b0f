#pragma once

#include <memory>

#include "common/directory.h"
#include "directory/ldap/ldap_connection.h"

namespace vorlane {

// What every bound or created object holds: where it is, its property cache, the changes staged
// for the next setInfo(). Binding reads the object's classes; the whole cache is loaded by the
// first read of a property (one base search), as the platform's own provider does, so that an
// object bound only for its path or as the target of a write costs no more than its binding.
struct LdapObjectState {
    std::shared_ptr<LdapConnection> connection;
    QString server;  // as the object was bound
    QString dn;
    QString objectClass;  // of a created object, sent with its add
    bool stored = false;  // exists on the server
    bool mailEnablePending = false;
    LdapEntry cache;
    bool cacheLoaded = false;  // every attribute read (a created object has none to read)
    std::vector<std::pair<QString, QStringList>> staged;
};

// The DirectoryObject operations on top of any of the interface's object kinds.
template <class Interface>
class LdapObjectBase : public Interface {
  public:
    explicit LdapObjectBase(LdapObjectState state) : state_(std::move(state)) {}

    QString adsPath() const override;
    Result<QStringList> getValues(const QString& name) const override;
    Result<void> put(const QString& name, const QString& value) override;
    Result<void> setInfo() override;

  protected:
    // Reads every attribute into the cache, once; staged values stay in front of them.
    Result<void> loadCache() const;
    // The values that a pending MailEnable writes with the next setInfo().
    Result<std::vector<LdapChange>> mailEnableChanges() const;

    // Reads fill the cache on demand.
    mutable LdapObjectState state_;
};

extern template class LdapObjectBase<DirectoryObject>;
extern template class LdapObjectBase<DirectoryGroup>;
extern template class LdapObjectBase<DirectoryContainer>;

class LdapObject final : public LdapObjectBase<DirectoryObject> {
  public:
    using LdapObjectBase::LdapObjectBase;
};

class LdapGroup final : public LdapObjectBase<DirectoryGroup> {
  public:
    using LdapObjectBase::LdapObjectBase;

    Result<QString> description() const override { return get(QStringLiteral("description")); }
    Result<void> setDescription(const QString& text) override {
        return put(QStringLiteral("description"), text);
    }
    Result<bool> isMember(const QString& memberPath) override;
    Result<void> add(const QString& memberPath) override;
    Result<void> remove(const QString& memberPath) override;
    Result<void> mailEnable() override;
};

class LdapContainer final : public LdapObjectBase<DirectoryContainer> {
  public:
    using LdapObjectBase::LdapObjectBase;

    Result<std::unique_ptr<DirectoryObject>> create(const QString& objectClass,
                                                    const QString& rdn) override;
};

// The object kind for an entry's objectClass values: a group, a container or a plain object.
std::unique_ptr<DirectoryObject> makeLdapObject(LdapObjectState state,
                                                const QStringList& objectClasses);
bool isGroupClass(const QStringList& objectClasses);
bool isContainerClass(const QStringList& objectClasses);

}  // namespace vorlane
