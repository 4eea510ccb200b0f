#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

#include "picker/container_tree.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vorlane {

// The picker's container tree shown in a QTreeWidget: one item per node, its key and index
// kept in the item, a check box on every item, images by key.
class TreeWidgetContainerTree : public ContainerTree {
  public:
    explicit TreeWidgetContainerTree(QTreeWidget& widget);

    // The image shown for nodes added with imageKey.
    void setImage(const QString& imageKey, const QIcon& icon) { images_.insert(imageKey, icon); }

    // The key of an item of the widget (empty for an item that is not a node).
    static QString keyOf(const QTreeWidgetItem& item);

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
    void makeVisible(const QString& key) override;

  private:
    QTreeWidgetItem* item(const QString& key) const;
    QTreeWidgetItem* newItem(const QString& key, const QString& text, const QString& imageKey);
    void forget(QTreeWidgetItem* item);

    QTreeWidget& widget_;
    QHash<QString, QTreeWidgetItem*> items_;  // by case-folded key
    QHash<QString, QIcon> images_;
    int lastIndex_ = 0;
};

}  // namespace vorlane
