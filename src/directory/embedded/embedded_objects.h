#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "common/directory.h"
#include "directory/embedded/directory_store.h"
#include "directory/platform/dn.h"

namespace vorlane::embedded {

// The property cache of one bound or created object: the stored values read at binding,
// with the values put since then staged on top until setInfo() writes them.
class PropertyCache {
  public:
    PropertyCache(std::shared_ptr<DirectoryStore> store, QString server, Dn dn, bool isNew,
                  AttributeMap values);

    QString adsPath() const;
    const Dn& dn() const { return dn_; }
    bool isNew() const { return isNew_; }
    DirectoryStore& store() const { return *store_; }

    Result<QStringList> getValues(const QString& name) const;
    Result<void> put(const QString& name, const QString& value);
    Result<void> setInfo();
    void requestMailEnable() { mailEnablePending_ = true; }

  private:
    Replacements mailEnableValues() const;

    std::shared_ptr<DirectoryStore> store_;
    QString server_;
    Dn dn_;
    bool isNew_;
    AttributeMap values_;
    Replacements staged_;
    bool mailEnablePending_ = false;
};

// Binds the stored object entry as the most specific view: a group, a container or a leaf.
std::unique_ptr<DirectoryObject> makeBoundObject(std::shared_ptr<DirectoryStore> store,
                                                 const QString& server, const Entry& entry);

// The rootDSE: defaultNamingContext, namingContexts and the other naming contexts.
std::unique_ptr<DirectoryObject> makeRootDse(const DirectoryStore& store, const QString& server);

}  // namespace vorlane::embedded
