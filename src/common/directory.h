#pragma once

// The directory service interface: what the console and the picker need of a directory,
// in the shape of the platform's binding, object, group, mail-recipient and query operations.
// Backends (directory/embedded, directory/ldap) implement it; callers see only this file.

#include <QString>
#include <QStringList>
#include <memory>

#include "common/record_set.h"
#include "common/result.h"

namespace vorlane {

// A bound directory entry and its property cache.
class DirectoryObject {
public:
    virtual ~DirectoryObject() = default;

    // "LDAP://" + distinguished name (with the server part when the object was bound with one).
    virtual QString adsPath() const = 0;

    // Every value of an attribute (name in any letter case), as text; integers in decimal.
    // An attribute that the object lacks fails with failures::propertyNotFound().
    virtual Result<QStringList> getValues(const QString& name) const = 0;

    // Stages a value, replacing the attribute's values; stored by the next setInfo().
    virtual Result<void> put(const QString& name, const QString& value) = 0;

    // Adds a new object, or writes the staged changes of an existing one, atomically: on a
    // failure nothing of it is stored and the changes stay staged.
    virtual Result<void> setInfo() = 0;

    // The first value of an attribute.
    Result<QString> get(const QString& name) const;
    // The first value of an attribute read as a signed 32-bit integer (an unsigned 32-bit
    // value such as 2147483650 reads as its signed twin); text that is no number: typeMismatch.
    Result<qint32> getInteger(const QString& name) const;
    Result<void> putInteger(const QString& name, qint32 value) {
        return put(name, QString::number(value));
    }
};

// A group: its description, its direct members (by path), and its mail-recipient view.
class DirectoryGroup : public DirectoryObject {
public:
    // The group's "description"; a group without one fails with failures::propertyNotFound().
    virtual Result<QString> description() const = 0;
    // Staged like put("description", text).
    virtual Result<void> setDescription(const QString& text) = 0;

    // Whether the object at memberPath ("LDAP://" + DN) is a direct member.
    virtual Result<bool> isMember(const QString& memberPath) = 0;
    // Add and Remove write at once (no setInfo needed), with the server's answers for a member
    // that is already there (0x80071392), is not there (0x80072035) or names nothing.
    virtual Result<void> add(const QString& memberPath) = 0;
    virtual Result<void> remove(const QString& memberPath) = 0;

    // The mail-recipient view's MailEnable without a target address: at the next setInfo the
    // group gets its alias, its SMTP address in "mail" and "SMTP:" + address in proxyAddresses.
    virtual Result<void> mailEnable() = 0;
};

// An object that can hold children: the domain, containers, organizational units.
class DirectoryContainer : public DirectoryObject {
public:
    // A new child of objectClass named by rdn ("CN=Sales" as it goes into the DN, escaped by
    // the caller). Nothing is stored until the child's setInfo(); a "group" child is returned
    // as a DirectoryGroup (see viewAs).
    virtual Result<std::unique_ptr<DirectoryObject>> create(const QString& objectClass,
                                                            const QString& rdn) = 0;
};

// A query connection (the platform's ADO connection over the directory provider).
class QueryConnection {
public:
    virtual ~QueryConnection() = default;

    // Opens the connection ("Active Directory Provider"); the connection is then in state 1.
    virtual Result<void> open(const QString& connectionString) = 0;
    virtual bool isOpen() const = 0;
    // Closing a connection that is not open fails with failures::objectClosed().
    virtual Result<void> close() = 0;

    // Runs a four-part command text "<LDAP://base>;filter;attr1,attr2;scope" (scope base,
    // onelevel or subtree, any letter case) and returns every row, however many the server
    // pages them in. A text not of four parts fails with failures::invalidFilter(); a filter
    // that does not parse with the filter-error code (0x8007203E).
    virtual Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) = 0;
};

// The query command: a command text run on its active connection.
class QueryCommand {
public:
    explicit QueryCommand(QueryConnection& activeConnection) : connection_(activeConnection) {}
    void setCommandText(const QString& text) { commandText_ = text; }
    const QString& commandText() const { return commandText_; }
    Result<std::unique_ptr<RecordSet>> execute() { return connection_.execute(commandText_); }

private:
    QueryConnection& connection_;
    QString commandText_;
};

// A directory: binds paths ("LDAP://rootDSE", "LDAP://" + DN, "LDAP://server/DN").
class Directory {
public:
    virtual ~Directory() = default;

    virtual Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) = 0;
    // An object that is not a group does not bind as one: failures::typeMismatch().
    virtual Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) = 0;
    // Groups, users and other leaf objects do not bind as containers: typeMismatch().
    virtual Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) = 0;

    // A new, closed query connection.
    virtual std::unique_ptr<QueryConnection> createQueryConnection() = 0;
};

// Takes a bound or created object as a more specific view (a DirectoryGroup from create()).
template <class View>
Result<std::unique_ptr<View>> viewAs(std::unique_ptr<DirectoryObject> object) {
    if (auto* view = dynamic_cast<View*>(object.get())) {
        object.release();
        return std::unique_ptr<View>(view);
    }
    return fail(failures::typeMismatch());
}

}  // namespace vorlane
