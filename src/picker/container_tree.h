#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vorlane {

// The picker's tree of containers as its logic sees it, apart from any widget. Nodes are found
// by key without regard to letter case (distinguished names are case-insensitive), so a key
// stands for one node whatever case it is written in. Every node carries a check box.
class ContainerTree {
  public:
    virtual ~ContainerTree() = default;

    // Adds a node with a clear check box at the top level, or as the last child of the node
    // keyed parentKey. Fails (nullopt) when the key is taken or the parent is missing; otherwise
    // returns the node's index: nodes are numbered from 1 in the order of adding, and a number
    // is never given twice.
    virtual std::optional<int> addTopLevel(const QString& key, const QString& text,
                                           const QString& imageKey) = 0;
    virtual std::optional<int> addChild(const QString& parentKey, const QString& key,
                                        const QString& text, const QString& imageKey) = 0;

    // The stored key of the node that key names (in the letter case it was added with).
    virtual std::optional<QString> find(const QString& key) const = 0;
    bool contains(const QString& key) const { return find(key).has_value(); }

    // Removes the node and everything below it; false when no node has the key.
    virtual bool remove(const QString& key) = 0;

    // The first node of the tree (the domain root), if there is one.
    virtual std::optional<QString> firstNodeKey() const = 0;
    virtual std::optional<QString> firstChildKey(const QString& key) const = 0;
    virtual std::optional<QString> text(const QString& key) const = 0;
    // Every node's key, in the order of adding.
    virtual QStringList keys() const = 0;

    virtual bool isChecked(const QString& key) const = 0;
    virtual void setChecked(const QString& key, bool checked) = 0;

    // Opens every ancestor of the node and scrolls it into view.
    virtual void makeVisible(const QString& key) = 0;
};

}  // namespace vorlane
