#pragma once

#include <QString>

namespace vorlane {

class ContainerTree;
class ContainerTreeLoader;

// The picker window's state and handlers, apart from its widgets: what the operator has
// chosen, the preselected container, and the rules for ticks, the timer and OK. The window
// shows the messages and drives the timer as the answers say.
class PickerController {
  public:
    PickerController(ContainerTree& tree, ContainerTreeLoader& loader);

    // In: the preselected container's distinguished name (may be empty). Out, after OK: the
    // chosen container's. Emptied when the preselected path lies outside the domain.
    const QString& containerPath() const { return containerPath_; }
    void setContainerPath(const QString& path) { containerPath_ = path; }

    // The key of the node that the operator last ticked; empty when nothing is chosen.
    const QString& selectedPath() const { return selectedPath_; }

    // The window loads: opens the connection, adds the root and its children. True when a
    // container was preselected, so that the timer is to reopen the tree at it.
    bool load();

    // The timer has fired (and has been stopped): unticks the root and, while nothing is
    // chosen, reopens the tree at the preselected container.
    void timerTick();

    enum class TickAnswer { Done, RootRefused };
    // The operator (or the program) has ticked or unticked the node keyed key. RootRefused: the
    // window tells the operator so and then starts the timer, which unticks the root.
    TickAnswer checkChanged(const QString& key, bool checked);

    // OK: true when a container is chosen and has become containerPath (the window closes);
    // false when nothing is chosen.
    bool confirm();

    // The window unloads.
    void unload();

    // Walks from the root to the preselected container, loading each missing level, and
    // ticks the container and makes it visible when the tree lists it.
    void expandToContainer();

  private:
    ContainerTree& tree_;
    ContainerTreeLoader& loader_;
    QString containerPath_;
    QString selectedPath_;
    QString initialPath_;
};

}  // namespace vorlane
