#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "common/directory.h"

namespace vorlane::testing {

// A small in-memory directory for the console's procedures: one domain, entries by DN
// (compared in any letter case, as written), staged attributes stored by setInfo with a few of
// a domain controller's checks, membership, mail-enabling and (mail=...) queries. Entries come
// back from queries in the order they were added.
class MemoryDirectory : public Directory {
  public:
    struct Entry {
        QString dn;
        QString objectClass;                // domainDNS, container, organizationalUnit, group, user
        QMap<QString, QStringList> values;  // by lower-case attribute name
        QStringList members;                // member DNs
    };

    explicit MemoryDirectory(QString domainDn = QStringLiteral("DC=example,DC=com"));

    const QString& domainDn() const;
    // Seeds an entry as it is (no checks); returns its "LDAP://" path.
    QString addEntry(const QString& dn, const QString& objectClass,
                     QMap<QString, QStringList> values = {});
    QString addUser(const QString& dn, const QString& mail);
    QString addGroup(const QString& dn, const QString& samAccountName, qint32 groupType,
                     const QStringList& memberDns = {});
    // The stored entry, or null.
    const Entry* find(const QString& dn) const;

    Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) override;
    Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) override;
    Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) override;
    std::unique_ptr<QueryConnection> createQueryConnection() override;

    struct Store;

  private:
    std::shared_ptr<Store> store_;
};

}  // namespace vorlane::testing
