#include "picker/picker_dialog.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

#include "common/operator_messages.h"
#include "picker/picker_controller.h"
#include "picker/tree_loading.h"
#include "picker/tree_widget_adapter.h"

namespace vorlane {

namespace {

// The window's layout is given in twips; 15 twips make one pixel.
constexpr int px(int twips) {
    return (twips + 7) / 15;
}

QRect twipsRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

}  // namespace

PickerDialog::PickerDialog(Directory& directory, ActivityLog& log, OperatorMessages& messages,
                           QWidget* owner)
    : QDialog(owner), messages_(messages) {
    setObjectName(QStringLiteral("frmADSI"));
    buildControls();
    tree_ = std::make_unique<TreeWidgetContainerTree>(*tvAD_);
    tree_->setImage(QLatin1String(kDomainImage), style()->standardIcon(QStyle::SP_DriveNetIcon));
    tree_->setImage(QLatin1String(kFolderImage), style()->standardIcon(QStyle::SP_DirIcon));
    loader_ = std::make_unique<ContainerTreeLoader>(directory, log, *tree_);
    controller_ = std::make_unique<PickerController>(*tree_, *loader_);

    connect(tmrRoot_, &QTimer::timeout, this, &PickerDialog::onTimerTick);
    connect(cmdOK_, &QPushButton::clicked, this, &PickerDialog::onOk);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(tvAD_, &QTreeWidget::itemExpanded, this, &PickerDialog::onExpanded);
    // Only check-state changes are ticks; text, icon and other item changes are not.
    connect(tvAD_->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex&, const QList<int>& roles) {
                if (roles.contains(Qt::CheckStateRole)) {
                    onItemChecked(tvAD_->itemFromIndex(topLeft));
                }
            });
}

PickerDialog::~PickerDialog() {
    // The tree widget goes with the dialog's children, after the logic that works on it: its
    // last signals must not reach that logic any more.
    tvAD_->disconnect(this);
    tvAD_->model()->disconnect(this);
    controller_.reset();
    loader_.reset();
}

void PickerDialog::buildControls() {
    setWindowTitle(QStringLiteral("DEZ Distribution Lists"));
    // A fixed-size tool window: small caption with a close box, no minimise or maximise
    // button, not in the taskbar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(px(4680), px(5205));
    setModal(true);
    // The fixed layout was drawn for an 8-point (11 pixel) dialog font; a desktop's larger
    // default would cut the label off.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    label1_ = new QLabel(QStringLiteral("Select container where DEZ DLs will be created"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twipsRect(120, 120, 4335, 255));

    tvAD_ = new QTreeWidget(this);
    tvAD_->setObjectName(QStringLiteral("tvAD"));
    tvAD_->setGeometry(twipsRect(120, 360, 4335, 4095));
    tvAD_->setHeaderHidden(true);
    tvAD_->setColumnCount(1);
    tvAD_->setIconSize(QSize(16, 16));

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipsRect(1433, 4680, 855, 375));
    cmdOK_->setDefault(true);

    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(twipsRect(2393, 4680, 855, 375));
    cmdCancel_->setAutoDefault(false);

    setTabOrder(tvAD_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    tmrRoot_ = new QTimer(this);
    tmrRoot_->setObjectName(QStringLiteral("tmrRoot"));
    tmrRoot_->setSingleShot(true);
    tmrRoot_->setInterval(5);
}

QString PickerDialog::containerPath() const {
    return controller_->containerPath();
}

void PickerDialog::setContainerPath(const QString& path) {
    controller_->setContainerPath(path);
}

void PickerDialog::showEvent(QShowEvent* event) {
    // The window loads before it first appears.
    if (!loaded_) load();
    QDialog::showEvent(event);
}

void PickerDialog::load() {
    loaded_ = true;
    if (controller_->load()) tmrRoot_->start();
}

void PickerDialog::onTimerTick() {
    tmrRoot_->stop();
    controller_->timerTick();
}

void PickerDialog::onItemChecked(QTreeWidgetItem* item) {
    if (!item || !controller_) return;
    const QString key = TreeWidgetContainerTree::keyOf(*item);
    const bool checked = item->checkState(0) == Qt::Checked;
    if (controller_->checkChanged(key, checked) == PickerController::TickAnswer::RootRefused) {
        messages_.showCritical(this, QStringLiteral("You can not select the root container!"));
        tmrRoot_->start();
    }
}

void PickerDialog::onExpanded(QTreeWidgetItem* item) {
    if (item && loader_) loader_->expand(TreeWidgetContainerTree::keyOf(*item));
}

void PickerDialog::onOk() {
    if (controller_->confirm()) {
        accept();
    } else {
        messages_.showCritical(this, QStringLiteral("No container is selected!"));
    }
}

void PickerDialog::done(int result) {
    QDialog::done(result);
    if (!unloaded_) {
        unloaded_ = true;
        tmrRoot_->stop();
        controller_->unload();
    }
}

}  // namespace vorlane
