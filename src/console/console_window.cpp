#include "console/console_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "common/operator_messages.h"
#include "console/console_procedures.h"
#include "console/container_chooser.h"
#include "console/request_checks.h"

namespace vorlane {

namespace {

// The layout is given in twips; 15 twips make one device-independent pixel.
int fromTwips(int twips) {
    return qRound(twips / 15.0);
}

QRect twipsRect(int left, int top, int width, int height) {
    return {fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height)};
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// A caption wider than its twips box in the desktop's font would be cut off; such a button
// grows to the right instead, keeping its place.
void widenToCaption(QWidget* button) {
    if (button->sizeHint().width() > button->width()) {
        button->resize(button->sizeHint().width(), button->height());
    }
}

QLabel* labelFor(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    // Screen readers name the field after its label.
    field->setAccessibleName(label->text());
    return label;
}

}  // namespace

ConsoleWindow::ConsoleWindow(ConsoleProcedures& procedures, OperatorMessages& messages,
                             ContainerChooser& chooser, LogonCheck logonCheck, QWidget* parent)
    : QWidget(parent),
      procedures_(procedures),
      messages_(messages),
      chooser_(chooser),
      logonCheck_(std::move(logonCheck)) {
    setObjectName(QStringLiteral("frmTest"));
    setWindowTitle(QStringLiteral("Vorlane"));
    // Sizable, but nothing follows the size: every control keeps its place.
    resize(fromTwips(4890), fromTwips(6780));
    // The fixed layout was drawn for an 8-point (11 pixel) dialog font; a desktop's larger
    // default would cut the captions off.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    createControls();
    chainTabOrder();
    connectHandlers();
    txtContainer_->setFocus(Qt::OtherFocusReason);
}

void ConsoleWindow::createControls() {
    label4_ = place(new QLabel(QStringLiteral("Container Path"), this), "Label4",
                    twipsRect(240, 240, 1815, 255));
    txtContainer_ = place(new QLineEdit(this), "txtContainer", twipsRect(240, 480, 3255, 285));
    cmdAD_ = place(new QPushButton(QStringLiteral("Select..."), this), "cmdAD",
                   twipsRect(3720, 480, 855, 375));
    label1_ = place(new QLabel(QStringLiteral("Group Name"), this), "Label1",
                    twipsRect(240, 840, 1815, 255));
    txtGroup_ = place(new QLineEdit(this), "txtGroup", twipsRect(240, 1080, 2655, 285));
    cmdCreate_ = place(new QPushButton(QStringLiteral("Create Group"), this), "cmdCreate",
                       twipsRect(3480, 960, 1215, 375));

    frame1_ = place(new QGroupBox(QStringLiteral("Type"), this), "Frame1",
                    twipsRect(240, 1440, 4455, 735));
    optUniversal_ = place(new QRadioButton(QStringLiteral("Universal"), frame1_), "optUniversal",
                          twipsRect(120, 240, 1095, 255));
    optGlobal_ = place(new QRadioButton(QStringLiteral("Global"), frame1_), "optGlobal",
                       twipsRect(1560, 240, 1215, 255));
    optDomain_ = place(new QRadioButton(QStringLiteral("Domain Local"), frame1_), "optDomain",
                       twipsRect(2880, 240, 1300, 255));

    chkUser_ = place(new QCheckBox(QStringLiteral("Add User"), this), "chkUser",
                     twipsRect(240, 2400, 1335, 255));
    label3_ = place(new QLabel(QStringLiteral("User SMTP address"), this), "Label3",
                    twipsRect(1920, 2280, 2295, 255));
    txtEmail_ = place(new QLineEdit(this), "txtEmail", twipsRect(1920, 2520, 2655, 285));

    txtResult_ = place(new QPlainTextEdit(this), "txtResult", twipsRect(240, 2880, 4455, 3735));
    txtResult_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResult_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResult_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box, so that the keyboard can reach the controls after it.
    txtResult_->setTabChangesFocus(true);

    // Never shown: the "Logon" check is out of the operator's reach.
    label2_ = place(new QLabel(QStringLiteral("User Name"), this), "Label2",
                    twipsRect(1080, 4440, 1815, 255));
    txtUser_ = place(new QLineEdit(this), "txtUser", twipsRect(1080, 4680, 2655, 285));
    cmdLogon_ = place(new QPushButton(QStringLiteral("Logon"), this), "cmdLogon",
                      twipsRect(3360, 4200, 975, 375));
    label2_->hide();
    txtUser_->hide();
    cmdLogon_->hide();

    labelFor(label4_, txtContainer_);
    labelFor(label1_, txtGroup_);
    labelFor(label3_, txtEmail_);
    labelFor(label2_, txtUser_);

    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{optUniversal_, optGlobal_, optDomain_, chkUser_}) {
        widenToCaption(button);
    }

    optUniversal_->setChecked(true);
    chkUser_->setChecked(false);
    txtEmail_->setEnabled(false);

    cmdCreate_->setDefault(true);
    // Outside a dialog a button does not take Enter by itself; as in a dialog, the focused
    // button takes it, and keyPressEvent hands it to "Create Group" everywhere else.
    cmdAD_->setAutoDefault(true);
    cmdCreate_->setAutoDefault(true);
}

void ConsoleWindow::chainTabOrder() {
    QWidget* const order[] = {txtContainer_, txtGroup_,  optUniversal_, optGlobal_,
                              chkUser_,      optDomain_, txtEmail_,     cmdCreate_,
                              txtUser_,      cmdLogon_,  txtResult_,    cmdAD_};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void ConsoleWindow::connectHandlers() {
    connect(chkUser_, &QCheckBox::toggled, this, &ConsoleWindow::toggleAddUser);
    connect(cmdAD_, &QPushButton::clicked, this, &ConsoleWindow::selectContainer);
    connect(cmdCreate_, &QPushButton::clicked, this, &ConsoleWindow::createGroup);
    connect(cmdLogon_, &QPushButton::clicked, this, &ConsoleWindow::logon);
}

void ConsoleWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (enter && plain && cmdCreate_->isEnabled()) {
        event->accept();
        cmdCreate_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ConsoleWindow::toggleAddUser(bool checked) {
    if (checked) {
        txtEmail_->setEnabled(true);
        return;
    }
    txtEmail_->setEnabled(false);
    txtEmail_->clear();
}

void ConsoleWindow::selectContainer() {
    const QString chosen = chooser_.chooseContainer(this, txtContainer_->text());
    // Exact comparison: a path that differs only in letter case replaces the field.
    if (chosen != txtContainer_->text()) txtContainer_->setText(chosen);
}

RequestEntries ConsoleWindow::currentEntries() const {
    return RequestEntries{txtContainer_->text(), txtGroup_->text(), chkUser_->isChecked(),
                          txtEmail_->text()};
}

void ConsoleWindow::createGroup() {
    const RequestEntries entries = currentEntries();
    if (const auto problem = firstEntryProblem(entries)) {
        messages_.showCritical(this, problem->message);
        switch (problem->field) {
            case RequestField::ContainerPath:
                txtContainer_->setFocus(Qt::OtherFocusReason);
                break;
            case RequestField::GroupName:
                txtGroup_->setFocus(Qt::OtherFocusReason);
                break;
            case RequestField::Email:
                txtEmail_->setFocus(Qt::OtherFocusReason);
                break;
        }
        return;
    }
    handOnRequest(entries, procedures_);
}

void ConsoleWindow::logon() {
    const QString mailbox = txtEmail_->text();
    if (mailbox.isEmpty() || !logonCheck_) return;
    logonCheck_(mailbox);
}

void ConsoleWindow::appendText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    const QTextCursor caret = txtResult_->textCursor();
    const int anchor = caret.anchor();
    const int position = caret.position();
    const int horizontal = txtResult_->horizontalScrollBar()->value();
    const int vertical = txtResult_->verticalScrollBar()->value();

    // Inserted at the end, not rewritten, so a line costs the same however full the box is.
    // Log lines are not the operator's edits: they stay out of the undo history.
    QTextDocument* document = txtResult_->document();
    document->setUndoRedoEnabled(false);
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    end.insertText(shown);
    document->setUndoRedoEnabled(true);

    // A caret at the end is carried along by the insertion; put it back.
    const QTextCursor moved = txtResult_->textCursor();
    if (moved.anchor() != anchor || moved.position() != position) {
        QTextCursor restored(document);
        restored.setPosition(anchor);
        restored.setPosition(position, QTextCursor::KeepAnchor);
        txtResult_->setTextCursor(restored);
    }
    txtResult_->horizontalScrollBar()->setValue(horizontal);
    txtResult_->verticalScrollBar()->setValue(vertical);
}

QString ConsoleWindow::resultText() const {
    QString text = txtResult_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return text;
}

bool ConsoleWindow::globalSelected() const {
    return optGlobal_->isChecked();
}
bool ConsoleWindow::universalSelected() const {
    return optUniversal_->isChecked();
}
bool ConsoleWindow::addUserChecked() const {
    return chkUser_->isChecked();
}
QString ConsoleWindow::emailText() const {
    return txtEmail_->text();
}

}  // namespace vorlane
