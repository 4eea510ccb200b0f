#include "picker/picker_controller.h"

#include "picker/container_tree.h"
#include "picker/tree_loading.h"

namespace vorlane {

namespace {
// A position in the preselected path is held in 16 bits: the root key found further on counts
// as not found.
constexpr qsizetype kLastCountedPosition = 32767;
}  // namespace

PickerController::PickerController(ContainerTree& tree, ContainerTreeLoader& loader)
    : tree_(tree), loader_(loader) {}

bool PickerController::load() {
    loader_.openDirectoryConnection();
    loader_.addRootNode();
    if (containerPath_.isEmpty()) return false;
    initialPath_ = containerPath_;
    return true;
}

void PickerController::timerTick() {
    if (auto root = tree_.firstNodeKey()) tree_.setChecked(*root, false);
    if (!initialPath_.isEmpty() && selectedPath_.isEmpty()) expandToContainer();
}

PickerController::TickAnswer PickerController::checkChanged(const QString& key, bool checked) {
    if (!checked) {
        if (key == selectedPath_) selectedPath_.clear();
        return TickAnswer::Done;
    }

    // The root, and any container that shows the same text as the root, is refused.
    const std::optional<QString> root = tree_.firstNodeKey();
    const std::optional<QString> rootText = root ? tree_.text(*root) : std::nullopt;
    if (rootText && tree_.text(key) == rootText) return TickAnswer::RootRefused;

    selectedPath_ = key;
    // Unticking others comes back here (as unticks of nodes that are not the chosen one).
    for (const QString& other : tree_.keys()) {
        if (other != key && tree_.isChecked(other)) tree_.setChecked(other, false);
    }
    return TickAnswer::Done;
}

bool PickerController::confirm() {
    if (selectedPath_.isEmpty()) return false;
    containerPath_ = selectedPath_;
    return true;
}

void PickerController::unload() {
    loader_.closeConnection();
}

void PickerController::expandToContainer() {
    const std::optional<QString> root = tree_.firstNodeKey();
    const qsizetype found = root ? containerPath_.indexOf(*root, 0, Qt::CaseInsensitive) : -1;
    if (found < 0 || found + 1 > kLastCountedPosition) {
        containerPath_.clear();
        return;
    }

    // Everything before the comma that precedes the root key, as relative names.
    const qsizetype prefixLength = found - 1;
    const QStringList names =
        prefixLength < 1 ? QStringList() : containerPath_.left(prefixLength).split(u',');

    QString parentKey = *root;
    for (qsizetype i = names.size() - 1; i >= 0; --i) {
        const QString candidate = names[i] + u',' + parentKey;
        if (!tree_.contains(candidate)) loader_.loadInPlaceOfPlaceholder(parentKey);
        const std::optional<QString> node = tree_.find(candidate);
        if (candidate.compare(containerPath_, Qt::CaseInsensitive) == 0) {
            if (node) {
                tree_.setChecked(*node, true);
                tree_.makeVisible(*node);
            }
        } else {
            parentKey = candidate;
        }
    }
}

}  // namespace vorlane
