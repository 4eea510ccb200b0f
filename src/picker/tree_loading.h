#pragma once

#include <QString>
#include <memory>

#include "common/directory.h"

namespace vorlane {

class ActivityLog;
class ContainerTree;

// Image keys of the tree's nodes.
inline constexpr auto kDomainImage = "imgDomain";
inline constexpr auto kFolderImage = "imgFolder";

// Fills the picker's tree from the directory, one level at a time: the domain root and its
// children at load, every other container when it is first expanded. A container is added
// with a placeholder child ("dummy" + the container's index) so that it shows an expand button
// before anyone asked the directory whether it has children. Every step is logged.
//
// The loader owns the window's one query connection and command.
class ContainerTreeLoader {
  public:
    ContainerTreeLoader(Directory& directory, ActivityLog& log, ContainerTree& tree);
    ~ContainerTreeLoader();

    ContainerTreeLoader(const ContainerTreeLoader&) = delete;
    ContainerTreeLoader& operator=(const ContainerTreeLoader&) = delete;

    // Creates and opens the query connection and binds the command to it. A connection that
    // does not open is not reported here: every later load then does nothing.
    void openDirectoryConnection();

    // Adds the domain root (key: the default naming context, text: its dotted form) and loads
    // its children.
    void addRootNode();

    // Appends the child containers of the node keyed parentKey, leaving out the system
    // containers; a child already in the tree is not added again.
    void loadChildContainers(const QString& parentKey);

    // The tree's expand handling: loads the node's children once, in place of its placeholder.
    void expand(const QString& key);

    // Removes the node's placeholder, if it still has one, and loads its children. For loads
    // that the program makes on its own: the later expansion then finds nothing left to load.
    void loadInPlaceOfPlaceholder(const QString& key);

    // Closes the connection (a failure, as for one that never opened, is ignored) and releases
    // the command and the connection.
    void closeConnection();

  private:
    Directory& directory_;
    ActivityLog& log_;
    ContainerTree& tree_;
    std::unique_ptr<QueryConnection> connection_;
    std::unique_ptr<QueryCommand> command_;
};

// Whether key is a placeholder's: it begins with "dummy", in that letter case.
bool isPlaceholderKey(const QString& key);

}  // namespace vorlane
