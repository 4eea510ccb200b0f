#include "picker/tree_widget_adapter.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>
#include <memory>

namespace vorlane {

namespace {
constexpr int kKeyRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

QString folded(const QString& key) {
    return key.toCaseFolded();
}

int indexOf(const QTreeWidgetItem& item) {
    return item.data(0, kIndexRole).toInt();
}
}  // namespace

TreeWidgetContainerTree::TreeWidgetContainerTree(QTreeWidget& widget) : widget_(widget) {}

QString TreeWidgetContainerTree::keyOf(const QTreeWidgetItem& item) {
    return item.data(0, kKeyRole).toString();
}

QTreeWidgetItem* TreeWidgetContainerTree::item(const QString& key) const {
    return items_.value(folded(key), nullptr);
}

QTreeWidgetItem* TreeWidgetContainerTree::newItem(const QString& key, const QString& text,
                                                  const QString& imageKey) {
    auto* node = new QTreeWidgetItem;
    node->setText(0, text);
    node->setData(0, kKeyRole, key);
    node->setData(0, kIndexRole, ++lastIndex_);
    node->setFlags(node->flags() | Qt::ItemIsUserCheckable);
    node->setCheckState(0, Qt::Unchecked);
    if (auto image = images_.constFind(imageKey); image != images_.constEnd()) {
        node->setIcon(0, *image);
    }
    items_.insert(folded(key), node);
    return node;
}

std::optional<int> TreeWidgetContainerTree::addTopLevel(const QString& key, const QString& text,
                                                        const QString& imageKey) {
    if (item(key)) return std::nullopt;
    QTreeWidgetItem* node = newItem(key, text, imageKey);
    widget_.addTopLevelItem(node);
    return indexOf(*node);
}

std::optional<int> TreeWidgetContainerTree::addChild(const QString& parentKey, const QString& key,
                                                     const QString& text, const QString& imageKey) {
    QTreeWidgetItem* parent = item(parentKey);
    if (!parent || item(key)) return std::nullopt;
    QTreeWidgetItem* node = newItem(key, text, imageKey);
    parent->addChild(node);
    return indexOf(*node);
}

std::optional<QString> TreeWidgetContainerTree::find(const QString& key) const {
    if (QTreeWidgetItem* node = item(key)) return keyOf(*node);
    return std::nullopt;
}

void TreeWidgetContainerTree::forget(QTreeWidgetItem* node) {
    for (int i = 0; i < node->childCount(); ++i) forget(node->child(i));
    items_.remove(folded(keyOf(*node)));
}

bool TreeWidgetContainerTree::remove(const QString& key) {
    QTreeWidgetItem* node = item(key);
    if (!node) return false;
    forget(node);
    delete node;  // takes the item and its subtree out of the widget
    return true;
}

std::optional<QString> TreeWidgetContainerTree::firstNodeKey() const {
    if (widget_.topLevelItemCount() == 0) return std::nullopt;
    return keyOf(*widget_.topLevelItem(0));
}

std::optional<QString> TreeWidgetContainerTree::firstChildKey(const QString& key) const {
    QTreeWidgetItem* node = item(key);
    if (!node || node->childCount() == 0) return std::nullopt;
    return keyOf(*node->child(0));
}

std::optional<QString> TreeWidgetContainerTree::text(const QString& key) const {
    if (QTreeWidgetItem* node = item(key)) return node->text(0);
    return std::nullopt;
}

QStringList TreeWidgetContainerTree::keys() const {
    std::vector<QTreeWidgetItem*> nodes(items_.cbegin(), items_.cend());
    std::ranges::sort(nodes, {}, [](const QTreeWidgetItem* node) { return indexOf(*node); });
    QStringList result;
    result.reserve(static_cast<qsizetype>(nodes.size()));
    for (const QTreeWidgetItem* node : nodes) result.append(keyOf(*node));
    return result;
}

bool TreeWidgetContainerTree::isChecked(const QString& key) const {
    QTreeWidgetItem* node = item(key);
    return node && node->checkState(0) == Qt::Checked;
}

void TreeWidgetContainerTree::setChecked(const QString& key, bool checked) {
    if (QTreeWidgetItem* node = item(key))
        node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void TreeWidgetContainerTree::makeVisible(const QString& key) {
    QTreeWidgetItem* node = item(key);
    if (!node) return;
    std::vector<QTreeWidgetItem*> ancestors;
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) ancestors.push_back(up);
    // From the root down, as the operator would open them.
    std::for_each(ancestors.rbegin(), ancestors.rend(),
                  [](QTreeWidgetItem* up) { up->setExpanded(true); });
    widget_.scrollToItem(node);
}

}  // namespace vorlane
