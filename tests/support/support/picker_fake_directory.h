#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "common/directory.h"

namespace vorlane::testing {

// A small domain for the picker's tests: a rootDSE naming the domain, and entries (containers,
// organizational units, users) that bind by "LDAP://" + DN and answer the one-level query
// "<LDAP://base>;(|(objectClass=container)(objectClass=organizationalUnit));AdsPath;onelevel".
// Names compare without regard to letter case, as in a real directory; rows come in the order
// in which the entries were added.
class PickerFakeDirectory : public Directory {
  public:
    // A domain whose root is namingContext, as the rootDSE says.
    explicit PickerFakeDirectory(QString namingContext);

    // Makes the rootDSE name another domain (empty: none at all, the attribute is missing).
    void setRootDseNamingContext(const QString& namingContext) { rootDseNames_ = namingContext; }

    // Adds an entry below one already there; objectClass "organizationalUnit", "container",
    // "user", ...
    void add(const QString& dn, const QString& objectClass);
    void addOu(const QString& dn) { add(dn, QStringLiteral("organizationalUnit")); }
    void addContainer(const QString& dn) { add(dn, QStringLiteral("container")); }

    Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) override;
    Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) override;
    Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) override;
    std::unique_ptr<QueryConnection> createQueryConnection() override;

    struct Entry {
        QString dn;
        QString objectClass;
    };
    // The answer to one query text.
    Result<std::unique_ptr<RecordSet>> query(const QString& commandText) const;

  private:
    const Entry* entry(const QString& dn) const;

    QString rootDseNames_;
    std::vector<Entry> entries_;
};

// The parent part of a DN: everything after its first ",".
QString pickerParentDn(const QString& dn);

}  // namespace vorlane::testing
