#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace vorlane {

// One directory entry as the server sent it: its DN and its attributes, names in the server's
// letter case, looked up in any case.
struct LdapEntry {
    QString dn;
    std::vector<std::pair<QString, QStringList>> attributes;

    const QStringList* find(const QString& name) const {
        for (const auto& [attribute, values] : attributes) {
            if (attribute.compare(name, Qt::CaseInsensitive) == 0) return &values;
        }
        return nullptr;
    }

    // Replaces (or adds) an attribute's values.
    void set(const QString& name, const QStringList& values) {
        for (auto& [attribute, current] : attributes) {
            if (attribute.compare(name, Qt::CaseInsensitive) == 0) {
                current = values;
                return;
            }
        }
        attributes.emplace_back(name, values);
    }
};

// One attribute change of an add or a modify.
struct LdapChange {
    enum class Kind { Add, Replace, Delete };
    Kind kind = Kind::Replace;
    QString attribute;
    QStringList values;
};

}  // namespace vorlane
