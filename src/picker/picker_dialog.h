#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlane {

class ActivityLog;
class ContainerTreeLoader;
class Directory;
class OperatorMessages;
class PickerController;
class TreeWidgetContainerTree;

// frmADSI: the modal window in which the operator ticks the container for new groups. The
// caller sets ContainerPath, shows the window (it loads the tree when first shown), and reads
// ContainerPath after it has closed: the chosen container's DN after OK, the caller's value
// (or empty text, when it lay outside the domain) after Cancel, Esc or the close box.
class PickerDialog : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString ContainerPath READ containerPath WRITE setContainerPath)

  public:
    PickerDialog(Directory& directory, ActivityLog& log, OperatorMessages& messages,
                 QWidget* owner = nullptr);
    ~PickerDialog() override;

    QString containerPath() const;
    void setContainerPath(const QString& path);

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void load();
    void onTimerTick();
    void onItemChecked(QTreeWidgetItem* item);
    void onExpanded(QTreeWidgetItem* item);
    void onOk();

    OperatorMessages& messages_;
    QLabel* label1_ = nullptr;
    QTreeWidget* tvAD_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QTimer* tmrRoot_ = nullptr;
    std::unique_ptr<TreeWidgetContainerTree> tree_;
    std::unique_ptr<ContainerTreeLoader> loader_;
    std::unique_ptr<PickerController> controller_;
    bool loaded_ = false;
    bool unloaded_ = false;
};

}  // namespace vorlane
