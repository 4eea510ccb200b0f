#pragma once

#include <QString>
#include <QStringList>
#include <map>

#include "directory/platform/dn.h"

namespace vorlane::embedded {

// Attributes by name without regard to letter case; each keeps the spelling it was first
// written with. Names iterate in a fixed (sorted) order.
class AttributeMap {
  public:
    const QStringList* values(const QString& name) const {
        auto it = attributes_.find(name.toLower());
        return it == attributes_.end() ? nullptr : &it->second.values;
    }
    QString first(const QString& name) const {
        const QStringList* found = values(name);
        return found && !found->isEmpty() ? found->front() : QString();
    }
    bool contains(const QString& name) const { return values(name) != nullptr; }
    // Replaces an attribute's values; no values removes it.
    void set(const QString& name, QStringList values) {
        if (values.isEmpty()) {
            attributes_.erase(name.toLower());
            return;
        }
        auto& slot = attributes_[name.toLower()];
        if (slot.name.isEmpty()) slot.name = name;
        slot.values = std::move(values);
    }
    void remove(const QString& name) { attributes_.erase(name.toLower()); }

    struct Attribute {
        QString name;
        QStringList values;
    };
    // By lower-case name.
    const std::map<QString, Attribute>& all() const { return attributes_; }

  private:
    std::map<QString, Attribute> attributes_;
};

// A stored object. Entries are numbered in the order they were added, which is the order in
// which searches return them and the file keeps them.
struct Entry {
    quint64 sequence = 0;
    Dn dn;
    QString key;              // dn.key()
    QString structuralClass;  // lower case: "group", "organizationalunit", ...
    AttributeMap attributes;
};

}  // namespace vorlane::embedded
