#include "memory_container_tree.h"

namespace vorlane::testing {

int MemoryContainerTree::position(const QString& key) const {
    return byKey_.value(key.toCaseFolded(), -1);
}

std::optional<int> MemoryContainerTree::add(int parent, const QString& key, const QString& text,
                                            const QString& imageKey) {
    if (position(key) >= 0) return std::nullopt;
    const int index = static_cast<int>(nodes_.size()) + 1;
    nodes_.push_back({key, text, imageKey, index, parent, false, true});
    byKey_.insert(key.toCaseFolded(), index - 1);
    return index;
}

std::optional<int> MemoryContainerTree::addTopLevel(const QString& key, const QString& text,
                                                    const QString& imageKey) {
    return add(-1, key, text, imageKey);
}

std::optional<int> MemoryContainerTree::addChild(const QString& parentKey, const QString& key,
                                                 const QString& text, const QString& imageKey) {
    const int parent = position(parentKey);
    if (parent < 0) return std::nullopt;
    return add(parent, key, text, imageKey);
}

std::optional<QString> MemoryContainerTree::find(const QString& key) const {
    const int at = position(key);
    if (at < 0) return std::nullopt;
    return nodes_[at].key;
}

bool MemoryContainerTree::remove(const QString& key) {
    const int at = position(key);
    if (at < 0) return false;
    for (const QString& child : childKeys(key)) remove(child);
    nodes_[at].alive = false;
    byKey_.remove(key.toCaseFolded());
    return true;
}

std::optional<QString> MemoryContainerTree::firstNodeKey() const {
    for (const Node& node : nodes_) {
        if (node.alive && node.parent < 0) return node.key;
    }
    return std::nullopt;
}

QStringList MemoryContainerTree::childKeys(const QString& key) const {
    const int at = position(key);
    QStringList children;
    for (const Node& node : nodes_) {
        if (at >= 0 && node.alive && node.parent == at) children.append(node.key);
    }
    return children;
}

std::optional<QString> MemoryContainerTree::firstChildKey(const QString& key) const {
    const QStringList children = childKeys(key);
    if (children.isEmpty()) return std::nullopt;
    return children.front();
}

std::optional<QString> MemoryContainerTree::text(const QString& key) const {
    const int at = position(key);
    if (at < 0) return std::nullopt;
    return nodes_[at].text;
}

QStringList MemoryContainerTree::keys() const {
    QStringList result;
    for (const Node& node : nodes_) {
        if (node.alive) result.append(node.key);
    }
    return result;
}

bool MemoryContainerTree::isChecked(const QString& key) const {
    const int at = position(key);
    return at >= 0 && nodes_[at].checked;
}

void MemoryContainerTree::setChecked(const QString& key, bool checked) {
    const int at = position(key);
    if (at >= 0) nodes_[at].checked = checked;
}

QString MemoryContainerTree::imageKey(const QString& key) const {
    const int at = position(key);
    return at < 0 ? QString() : nodes_[at].imageKey;
}

int MemoryContainerTree::index(const QString& key) const {
    const int at = position(key);
    return at < 0 ? 0 : nodes_[at].index;
}

QStringList MemoryContainerTree::checkedKeys() const {
    QStringList result;
    for (const Node& node : nodes_) {
        if (node.alive && node.checked) result.append(node.key);
    }
    return result;
}

}  // namespace vorlane::testing
