#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "common/result.h"
#include "directory/embedded/entry.h"
#include "directory/embedded/ldap_filter.h"
#include "directory/embedded/schema.h"
#include "directory/platform/command_text.h"
#include "directory/platform/dn.h"

namespace vorlane::embedded {

// Attribute values to write, by name; an empty list removes the attribute.
using Replacements = std::vector<std::pair<QString, QStringList>>;

struct SearchRequest {
    Dn base;
    SearchScope scope = SearchScope::Subtree;
    Filter filter;
    // With the paged-results control: at most this many entries a page. Zero: no control, and
    // like Windows AD the search then stops after kMaxUnpagedEntries with sizeLimitExceeded.
    int pageSize = 0;
    QByteArray cookie;  // from the previous page; empty for the first
};

struct SearchPage {
    std::vector<const Entry*> entries;  // valid until the next change of the store
    QByteArray cookie;                  // empty: no further page
    int resultCode = 0;                 // 0, or 4 (sizeLimitExceeded) after kMaxUnpagedEntries
};

inline constexpr int kMaxUnpagedEntries = 1000;

// The objects of one domain and the server's rules for changing them. Entries are kept in the
// order they were added; distinguished names (normalized keys), parents' children and the
// values of mail, proxyAddresses and sAMAccountName are indexed, so that a lookup by name or by
// address costs a hash probe. Every change is all or nothing; after each one the commit hook
// (the file) runs, and when it fails the change is undone and reported.
class DirectoryStore {
  public:
    DirectoryStore(const Dn& domain, SchemaOptions options = {});

    const Dn& domainDn() const { return domain_; }
    // The DNS name of the domain: its DC= values joined with ".".
    QString dnsDomainName() const;
    const SchemaOptions& schema() const { return options_; }

    using CommitHook = std::function<Result<void>(const DirectoryStore&)>;
    void setCommitHook(CommitHook hook) { commitHook_ = std::move(hook); }

    const Entry* find(const Dn& dn) const;
    // Parses text and finds the entry: 34 when it is no DN, 32 when it names nothing.
    Result<const Entry*> lookup(const QString& dnText) const;

    // Adds an object with the server's checks and the values it fills in itself (objectClass
    // chain, name, cn, objectGUID, distinguishedName; sAMAccountName and groupType of groups).
    Result<void> add(const Dn& dn, const AttributeMap& attributes);
    // Replaces the given attributes' values (no values: removes the attribute).
    Result<void> modify(const Dn& dn, const Replacements& replacements);
    Result<void> addMember(const Dn& group, const QString& memberDn);
    Result<void> removeMember(const Dn& group, const QString& memberDn);

    // Whether an SMTP address is some object's mail or proxy address, other than except's.
    bool isAddressTaken(const QString& address, const Dn& except) const;

    // 32 when the base names nothing.
    Result<SearchPage> search(const SearchRequest& request) const;

    // Every entry in the order of adding.
    const std::map<quint64, Entry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }

    // Adds a stored object as read from a file: the structure is checked (name, parent, class)
    // but not the rules for new values, and no commit hook runs.
    Result<void> load(const Dn& dn, const AttributeMap& attributes);

  private:
    // A member value to add or remove: the member's entry and the group's members as they are.
    struct MemberChange {
        const Entry* member;
        QStringList members;
        qsizetype position() const;  // of the member among the values (any spelling), or -1
        QString memberGuid() const;
    };
    Result<MemberChange> memberChange(const Dn& group, const QString& memberDn,
                                      const Failure& whenMemberMissing) const;

    Result<void> insert(const Dn& dn, AttributeMap attributes, bool checkValues);
    Result<void> checkValues(const Entry& entry, const Replacements& written) const;
    Result<void> commit(const std::function<void()>& undo);
    void index(const Entry& entry);
    void unindex(const Entry& entry);
    const Entry* entryBySequence(quint64 sequence) const;
    std::vector<quint64> candidates(const SearchRequest& request, const Entry& base) const;
    // Entries by sequence number: ordered like the store, and straight to the entry.
    using EntrySet = std::map<quint64, const Entry*>;
    static const EntrySet* indexedCandidates(
        const Filter& filter, const QHash<QString, QHash<QString, EntrySet>>& indexes);

    Dn domain_;
    SchemaOptions options_;
    CommitHook commitHook_;
    quint64 nextSequence_ = 1;
    std::map<quint64, Entry> entries_;
    QHash<QString, quint64> byKey_;
    QHash<QString, EntrySet> children_;  // parent key -> children
    // attribute (lower case) -> value (case-folded) -> entries
    QHash<QString, QHash<QString, EntrySet>> valueIndexes_;
};

}  // namespace vorlane::embedded
