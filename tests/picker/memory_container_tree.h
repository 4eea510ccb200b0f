#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "picker/container_tree.h"

namespace vorlane::testing {

// The container tree without a widget, for the picker logic's tests. Besides the tree's own
// operations it tells a node's image, parent and index, and which nodes were made visible.
class MemoryContainerTree : public ContainerTree {
  public:
    std::optional<int> addTopLevel(const QString& key, const QString& text,
                                   const QString& imageKey) override;
    std::optional<int> addChild(const QString& parentKey, const QString& key, const QString& text,
                                const QString& imageKey) override;
    std::optional<QString> find(const QString& key) const override;
    bool remove(const QString& key) override;
    std::optional<QString> firstNodeKey() const override;
    std::optional<QString> firstChildKey(const QString& key) const override;
    std::optional<QString> text(const QString& key) const override;
    QStringList keys() const override;
    bool isChecked(const QString& key) const override;
    void setChecked(const QString& key, bool checked) override;
    void makeVisible(const QString& key) override { madeVisible.append(*find(key)); }

    QStringList childKeys(const QString& key) const;
    QString imageKey(const QString& key) const;
    int index(const QString& key) const;
    QStringList checkedKeys() const;

    QStringList madeVisible;

  private:
    struct Node {
        QString key;
        QString text;
        QString imageKey;
        int index = 0;
        int parent = -1;  // position in nodes_, -1 at the top level
        bool checked = false;
        bool alive = true;
    };
    int position(const QString& key) const;
    std::optional<int> add(int parent, const QString& key, const QString& text,
                           const QString& imageKey);

    std::vector<Node> nodes_;  // in the order of adding, removed ones kept as not alive
    QHash<QString, int> byKey_;
};

}  // namespace vorlane::testing
