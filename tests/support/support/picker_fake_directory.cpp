#include "support/picker_fake_directory.h"

#include <QMap>

namespace vorlane::testing {

namespace {

const QString kContainerFilter =
    QStringLiteral("(|(objectClass=container)(objectClass=organizationalUnit))");

Failure noSuchObject() {
    return {0x80072030, QStringLiteral("There is no such object on the server.")};
}

class FakeObject : public DirectoryObject {
  public:
    FakeObject(QString adsPath, QMap<QString, QString> attributes)
        : adsPath_(std::move(adsPath)), attributes_(std::move(attributes)) {}

    QString adsPath() const override { return adsPath_; }
    Result<QStringList> getValues(const QString& name) const override {
        for (auto it = attributes_.cbegin(); it != attributes_.cend(); ++it) {
            if (it.key().compare(name, Qt::CaseInsensitive) == 0) return QStringList{it.value()};
        }
        return fail(failures::propertyNotFound());
    }
    Result<void> put(const QString& name, const QString& value) override {
        attributes_.insert(name, value);
        return {};
    }
    Result<void> setInfo() override { return {}; }

  private:
    QString adsPath_;
    QMap<QString, QString> attributes_;
};

class FakeQueryConnection : public QueryConnection {
  public:
    explicit FakeQueryConnection(const PickerFakeDirectory& directory) : directory_(directory) {}

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
    Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) override {
        if (!open_) return fail(failures::objectClosed());
        return directory_.query(commandText);
    }

  private:
    const PickerFakeDirectory& directory_;
    bool open_ = false;
};

}  // namespace

QString pickerParentDn(const QString& dn) {
    const qsizetype comma = dn.indexOf(u',');
    return comma < 0 ? QString() : dn.mid(comma + 1);
}

PickerFakeDirectory::PickerFakeDirectory(QString namingContext) : rootDseNames_(namingContext) {
    entries_.push_back({std::move(namingContext), QStringLiteral("domain")});
}

void PickerFakeDirectory::add(const QString& dn, const QString& objectClass) {
    if (!entry(pickerParentDn(dn))) qFatal("PickerFakeDirectory: no parent for %s", qPrintable(dn));
    entries_.push_back({dn, objectClass});
}

const PickerFakeDirectory::Entry* PickerFakeDirectory::entry(const QString& dn) const {
    for (const Entry& e : entries_) {
        if (e.dn.compare(dn, Qt::CaseInsensitive) == 0) return &e;
    }
    return nullptr;
}

Result<std::unique_ptr<DirectoryObject>> PickerFakeDirectory::bindObject(const QString& path) {
    const QString prefix = QStringLiteral("LDAP://");
    if (!path.startsWith(prefix, Qt::CaseInsensitive)) return fail(failures::badPathname());
    const QString dn = path.mid(prefix.size());
    if (dn.compare(QStringLiteral("rootDSE"), Qt::CaseInsensitive) == 0) {
        QMap<QString, QString> attributes;
        if (!rootDseNames_.isEmpty()) {
            attributes.insert(QStringLiteral("defaultNamingContext"), rootDseNames_);
        }
        return std::make_unique<FakeObject>(path, attributes);
    }
    if (dn.isEmpty()) return fail(failures::badPathname());
    const Entry* e = entry(dn);
    if (!e) return fail(noSuchObject());
    return std::make_unique<FakeObject>(prefix + e->dn,
                                        QMap<QString, QString>{{"objectClass", e->objectClass}});
}

Result<std::unique_ptr<DirectoryGroup>> PickerFakeDirectory::bindGroup(const QString&) {
    return fail(failures::typeMismatch());
}

Result<std::unique_ptr<DirectoryContainer>> PickerFakeDirectory::bindContainer(const QString&) {
    return fail(failures::typeMismatch());
}

std::unique_ptr<QueryConnection> PickerFakeDirectory::createQueryConnection() {
    return std::make_unique<FakeQueryConnection>(*this);
}

Result<std::unique_ptr<RecordSet>> PickerFakeDirectory::query(const QString& commandText) const {
    const QStringList parts = commandText.split(u';');
    const QString open = QStringLiteral("<LDAP://");
    if (parts.size() != 4 || !parts[0].startsWith(open) || !parts[0].endsWith(u'>') ||
        parts[1] != kContainerFilter || parts[2] != QStringLiteral("AdsPath") ||
        parts[3].compare(QStringLiteral("onelevel"), Qt::CaseInsensitive) != 0) {
        return fail(failures::invalidFilter());
    }
    const QString base = parts[0].mid(open.size()).chopped(1);
    if (!entry(base)) return fail(noSuchObject());

    std::vector<RecordSet::Row> rows;
    for (const Entry& e : entries_) {
        const bool isContainer = e.objectClass == QStringLiteral("container") ||
                                 e.objectClass == QStringLiteral("organizationalUnit");
        if (isContainer && pickerParentDn(e.dn).compare(base, Qt::CaseInsensitive) == 0) {
            rows.push_back({QStringList{QStringLiteral("LDAP://") + e.dn}});
        }
    }
    return std::make_unique<RecordSet>(QStringList{QStringLiteral("AdsPath")}, std::move(rows));
}

}  // namespace vorlane::testing
