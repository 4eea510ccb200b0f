#include "support/memory_directory.h"

#include <QRegularExpression>

namespace vorlane::testing {

namespace {

Failure noSuchObject() {
    return {0x80072030, QStringLiteral("There is no such object on the server.")};
}
Failure invalidDn() {
    return {0x80072032, QStringLiteral("An invalid dn syntax has been specified.")};
}
Failure alreadyExists() {
    return {0x80071392, QStringLiteral("The object already exists.")};
}
Failure constraint() {
    return {0x8007202F, QStringLiteral("A constraint violation occurred.")};
}
Failure unwilling() {
    return {0x80072035, QStringLiteral("The server is unwilling to process the request.")};
}
Failure filterError() {
    return {0x8007203E, QStringLiteral("The search filter cannot be recognized.")};
}

// The relative names of a DN, split at commas that are not escaped.
QStringList rdnsOf(const QString& dn) {
    QStringList rdns;
    QString current;
    for (qsizetype i = 0; i < dn.size(); ++i) {
        if (dn[i] == u'\\' && i + 1 < dn.size()) {
            current += dn[i];
            current += dn[++i];
        } else if (dn[i] == u',') {
            rdns << current;
            current.clear();
        } else {
            current += dn[i];
        }
    }
    rdns << current;
    return rdns;
}

bool validDn(const QString& dn) {
    for (const QString& rdn : rdnsOf(dn)) {
        const qsizetype equals = rdn.indexOf(u'=');
        if (equals <= 0 || equals == rdn.size() - 1) return false;
    }
    return true;
}

QString parentOf(const QString& dn) {
    QStringList rdns = rdnsOf(dn);
    rdns.removeFirst();
    return rdns.join(u',');
}

bool sameDn(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "\xx" escapes of a filter value back into text.
QString unescapeFilterValue(const QString& value) {
    QByteArray bytes;
    const QByteArray utf8 = value.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\\' && i + 2 < utf8.size()) {
            bytes += static_cast<char>(utf8.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            bytes += utf8[i];
        }
    }
    return QString::fromUtf8(bytes);
}

}  // namespace

struct MemoryDirectory::Store {
    QString domainDn;
    std::vector<Entry> entries;

    Entry* find(const QString& dn) {
        for (Entry& entry : entries) {
            if (sameDn(entry.dn, dn)) return &entry;
        }
        return nullptr;
    }
    bool samTaken(const QString& sam) const {
        for (const Entry& entry : entries) {
            for (const QString& value : entry.values.value(QStringLiteral("samaccountname"))) {
                if (value.compare(sam, Qt::CaseInsensitive) == 0) return true;
            }
        }
        return false;
    }
};

namespace {

using Store = MemoryDirectory::Store;
using Entry = MemoryDirectory::Entry;

Result<QString> dnOfPath(const QString& path) {
    if (!path.startsWith(QStringLiteral("LDAP://"))) return fail(failures::badPathname());
    QString dn = path.mid(7);
    dn.replace(QStringLiteral("\\/"), QStringLiteral("/"));
    if (dn.isEmpty()) return fail(failures::badPathname());
    return dn;
}

// Common to every view of an entry: the staged values and their commit.
template <class Base>
class EntryView : public Base {
  public:
    EntryView(std::shared_ptr<Store> store, QString dn, QString objectClass, bool isNew)
        : store_(std::move(store)),
          dn_(std::move(dn)),
          class_(std::move(objectClass)),
          new_(isNew) {}

    QString adsPath() const override { return QStringLiteral("LDAP://") + dn_; }

    Result<QStringList> getValues(const QString& name) const override {
        const QString key = name.toLower();
        if (staged_.contains(key)) return staged_.value(key);
        if (key == QStringLiteral("distinguishedname")) return QStringList{dn_};
        const Entry* entry = stored();
        if (!entry || !entry->values.contains(key)) return fail(failures::propertyNotFound());
        return entry->values.value(key);
    }

    Result<void> put(const QString& name, const QString& value) override {
        staged_[name.toLower()] = QStringList{value};
        return {};
    }

    Result<void> setInfo() override {
        if (new_) {
            if (auto added = addNew(); !added) return added;
            new_ = false;
        } else {
            Entry* entry = stored();
            if (!entry) return fail(noSuchObject());
            for (auto it = staged_.begin(); it != staged_.end(); ++it)
                entry->values[it.key()] = *it;
        }
        staged_.clear();
        if (mailEnablePending_) {
            Entry* entry = stored();
            const QString alias = entry->values.value(QStringLiteral("samaccountname")).value(0);
            const QString mail = alias + QStringLiteral("@example.com");
            entry->values[QStringLiteral("mailnickname")] = {alias};
            entry->values[QStringLiteral("mail")] = {mail};
            entry->values[QStringLiteral("proxyaddresses")] = {QStringLiteral("SMTP:") + mail};
            mailEnablePending_ = false;
        }
        return {};
    }

  protected:
    Entry* stored() const { return new_ ? nullptr : store_->find(dn_); }

    std::shared_ptr<Store> store_;
    QString dn_;
    QString class_;
    bool new_;
    QMap<QString, QStringList> staged_;
    bool mailEnablePending_ = false;

  private:
    Result<void> addNew() {
        if (store_->find(dn_)) return fail(alreadyExists());
        const Entry* parent = store_->find(parentOf(dn_));
        if (!parent) return fail(noSuchObject());
        if (parent->objectClass == QStringLiteral("group") ||
            parent->objectClass == QStringLiteral("user")) {
            return fail({0x80072037, QStringLiteral("There is a naming violation.")});
        }
        Entry entry{dn_, class_, staged_, {}};
        if (class_ == QStringLiteral("group")) {
            const QString sam = entry.values.value(QStringLiteral("samaccountname")).value(0);
            static const QRegularExpression forbidden(QStringLiteral("[\"/\\\\\\[\\]:;|=,+*?<>]"));
            if (sam.contains(forbidden) || sam.endsWith(u'.')) return fail(constraint());
            if (store_->samTaken(sam)) return fail(alreadyExists());
            const QString type = entry.values.value(QStringLiteral("grouptype")).value(0);
            static const QStringList valid{
                QStringLiteral("2"),           QStringLiteral("4"),
                QStringLiteral("8"),           QStringLiteral("-2147483646"),
                QStringLiteral("-2147483644"), QStringLiteral("-2147483640")};
            if (!type.isEmpty() && !valid.contains(type)) return fail(unwilling());
        }
        store_->entries.push_back(entry);
        return {};
    }
};

class MemoryObject : public EntryView<DirectoryObject> {
    using EntryView::EntryView;
};

class MemoryGroup : public EntryView<DirectoryGroup> {
  public:
    using EntryView::EntryView;

    Result<QString> description() const override { return get(QStringLiteral("description")); }
    Result<void> setDescription(const QString& text) override {
        return put(QStringLiteral("description"), text);
    }
    Result<bool> isMember(const QString& memberPath) override {
        auto dn = dnOfPath(memberPath);
        if (!dn) return fail(dn.error());
        const Entry* entry = stored();
        if (!entry) return fail(failures::objectUnbound());
        for (const QString& member : entry->members) {
            if (sameDn(member, *dn)) return true;
        }
        return false;
    }
    Result<void> add(const QString& memberPath) override {
        auto dn = dnOfPath(memberPath);
        if (!dn) return fail(dn.error());
        if (!validDn(*dn)) return fail(invalidDn());
        Entry* entry = stored();
        if (!entry) return fail(failures::objectUnbound());
        if (!store_->find(*dn)) return fail(noSuchObject());
        if (isMember(memberPath).value_or(false)) return fail(alreadyExists());
        entry->members << *dn;
        return {};
    }
    Result<void> remove(const QString& memberPath) override {
        auto dn = dnOfPath(memberPath);
        if (!dn) return fail(dn.error());
        Entry* entry = stored();
        if (!entry) return fail(failures::objectUnbound());
        for (qsizetype i = 0; i < entry->members.size(); ++i) {
            if (sameDn(entry->members[i], *dn)) {
                entry->members.removeAt(i);
                return {};
            }
        }
        return fail(unwilling());
    }
    Result<void> mailEnable() override {
        mailEnablePending_ = true;
        return {};
    }
};

class MemoryContainer : public EntryView<DirectoryContainer> {
  public:
    using EntryView::EntryView;

    Result<std::unique_ptr<DirectoryObject>> create(const QString& objectClass,
                                                    const QString& rdn) override {
        const QString dn = rdn + u',' + dn_;
        if (rdnsOf(rdn).size() != 1 || !validDn(dn)) return fail(invalidDn());
        if (objectClass == QStringLiteral("group")) {
            return std::unique_ptr<DirectoryObject>(new MemoryGroup(store_, dn, objectClass, true));
        }
        return std::unique_ptr<DirectoryObject>(new MemoryObject(store_, dn, objectClass, true));
    }
};

class MemoryQueryConnection : public QueryConnection {
  public:
    explicit MemoryQueryConnection(std::shared_ptr<Store> store) : store_(std::move(store)) {}

    Result<void> open(const QString&) override {
        open_ = true;
        return {};
    }
    bool isOpen() const override { return open_; }
    Result<void> close() override {
        if (!open_) return fail(failures::objectClosed());
        open_ = false;
        return {};
    }

    // Only what the mailbox lookup asks: "<LDAP://base>;(mail=value);attributes;subTree".
    Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) override {
        if (!open_) return fail(failures::objectClosed());
        const QStringList parts = commandText.split(u';');
        if (parts.size() != 4 || !parts[0].startsWith(u'<') || !parts[0].endsWith(u'>')) {
            return fail(failures::invalidFilter());
        }
        auto base = dnOfPath(parts[0].mid(1, parts[0].size() - 2));
        if (!base) return fail(base.error());
        static const QRegularExpression mailFilter(QStringLiteral("^\\(mail=([^()]*)\\)$"),
                                                   QRegularExpression::CaseInsensitiveOption);
        const auto match = mailFilter.match(parts[1]);
        if (!match.hasMatch()) return fail(filterError());
        // An unescaped "*" is a wildcard, as in any LDAP filter.
        QStringList pieces = match.captured(1).split(u'*');
        for (QString& piece : pieces)
            piece = QRegularExpression::escape(unescapeFilterValue(piece));
        const QRegularExpression mail(u'^' + pieces.join(QStringLiteral(".*")) + u'$',
                                      QRegularExpression::CaseInsensitiveOption);
        const QStringList columns = parts[2].split(u',');
        std::vector<RecordSet::Row> rows;
        for (const Entry& entry : store_->entries) {
            const bool under = entry.dn.endsWith(*base, Qt::CaseInsensitive);
            const bool carries = !entry.values.value(QStringLiteral("mail")).filter(mail).isEmpty();
            if (!under || !carries) continue;
            RecordSet::Row row;
            for (const QString& column : columns) {
                row.push_back(
                    column.compare(QStringLiteral("distinguishedName"), Qt::CaseInsensitive) == 0
                        ? QStringList{entry.dn}
                        : entry.values.value(column.toLower()));
            }
            rows.push_back(row);
        }
        return std::make_unique<RecordSet>(columns, std::move(rows));
    }

  private:
    std::shared_ptr<Store> store_;
    bool open_ = false;
};

}  // namespace

MemoryDirectory::MemoryDirectory(QString domainDn) : store_(std::make_shared<Store>()) {
    store_->domainDn = std::move(domainDn);
    addEntry(store_->domainDn, QStringLiteral("domainDNS"));
}

const QString& MemoryDirectory::domainDn() const {
    return store_->domainDn;
}

QString MemoryDirectory::addEntry(const QString& dn, const QString& objectClass,
                                  QMap<QString, QStringList> values) {
    store_->entries.push_back({dn, objectClass, std::move(values), {}});
    return QStringLiteral("LDAP://") + dn;
}

QString MemoryDirectory::addUser(const QString& dn, const QString& mail) {
    return addEntry(dn, QStringLiteral("user"), {{QStringLiteral("mail"), {mail}}});
}

QString MemoryDirectory::addGroup(const QString& dn, const QString& samAccountName,
                                  qint32 groupType, const QStringList& memberDns) {
    const QString path = addEntry(dn, QStringLiteral("group"),
                                  {{QStringLiteral("samaccountname"), {samAccountName}},
                                   {QStringLiteral("grouptype"), {QString::number(groupType)}}});
    store_->entries.back().members = memberDns;
    return path;
}

const MemoryDirectory::Entry* MemoryDirectory::find(const QString& dn) const {
    return store_->find(dn);
}

Result<std::unique_ptr<DirectoryObject>> MemoryDirectory::bindObject(const QString& path) {
    if (path.compare(QStringLiteral("LDAP://rootDSE"), Qt::CaseInsensitive) == 0) {
        auto rootDse = std::make_unique<MemoryObject>(store_, QStringLiteral("rootDSE"),
                                                      QStringLiteral("rootDSE"), true);
        static_cast<void>(rootDse->put(QStringLiteral("defaultNamingContext"), store_->domainDn));
        return std::unique_ptr<DirectoryObject>(std::move(rootDse));
    }
    auto dn = dnOfPath(path);
    if (!dn) return fail(dn.error());
    if (!validDn(*dn)) return fail(invalidDn());
    const Entry* entry = store_->find(*dn);
    if (!entry) return fail(noSuchObject());
    if (entry->objectClass == QStringLiteral("group")) {
        return std::unique_ptr<DirectoryObject>(
            new MemoryGroup(store_, entry->dn, entry->objectClass, false));
    }
    if (entry->objectClass == QStringLiteral("user")) {
        return std::unique_ptr<DirectoryObject>(
            new MemoryObject(store_, entry->dn, entry->objectClass, false));
    }
    return std::unique_ptr<DirectoryObject>(
        new MemoryContainer(store_, entry->dn, entry->objectClass, false));
}

Result<std::unique_ptr<DirectoryGroup>> MemoryDirectory::bindGroup(const QString& path) {
    auto object = bindObject(path);
    if (!object) return fail(object.error());
    return viewAs<DirectoryGroup>(std::move(*object));
}

Result<std::unique_ptr<DirectoryContainer>> MemoryDirectory::bindContainer(const QString& path) {
    auto object = bindObject(path);
    if (!object) return fail(object.error());
    return viewAs<DirectoryContainer>(std::move(*object));
}

std::unique_ptr<QueryConnection> MemoryDirectory::createQueryConnection() {
    return std::make_unique<MemoryQueryConnection>(store_);
}

}  // namespace vorlane::testing
