#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "common/activity_log.h"
#include "console/console_controls.h"

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vorlane {

class ConsoleProcedures;
class ContainerChooser;
class OperatorMessages;
struct RequestEntries;

// frmTest, the main window: the operator's entries for a group, "Select..." for the container,
// "Create Group", and the result box that shows every log line.
class ConsoleWindow : public QWidget, public ResultBox, public ConsoleControls {
    Q_OBJECT

  public:
    // The hidden "Logon" button's check, given the mailbox typed in the address field.
    using LogonCheck = std::function<void(const QString& mailbox)>;

    ConsoleWindow(ConsoleProcedures& procedures, OperatorMessages& messages,
                  ContainerChooser& chooser, LogonCheck logonCheck = {}, QWidget* parent = nullptr);

    // ResultBox: adds text at the end of the box; the caret and the scroll position stay.
    void appendText(const QString& text) override;
    // The box's whole text, every line break as CR LF.
    QString resultText() const;

    // ConsoleControls
    bool globalSelected() const override;
    bool universalSelected() const override;
    bool addUserChecked() const override;
    QString emailText() const override;

  protected:
    // Enter runs "Create Group" wherever the focus is, except on a button (which takes it
    // itself) and in the result box (where it breaks the line), as a default button does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void createControls();
    void chainTabOrder();  // in the order of the controls' tab indexes
    void connectHandlers();

    void toggleAddUser(bool checked);
    void selectContainer();
    void createGroup();
    void logon();
    RequestEntries currentEntries() const;

    ConsoleProcedures& procedures_;
    OperatorMessages& messages_;
    ContainerChooser& chooser_;
    LogonCheck logonCheck_;

    QLabel* label4_ = nullptr;
    QLineEdit* txtContainer_ = nullptr;
    QPushButton* cmdAD_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* txtGroup_ = nullptr;
    QPushButton* cmdCreate_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QRadioButton* optUniversal_ = nullptr;
    QRadioButton* optGlobal_ = nullptr;
    QRadioButton* optDomain_ = nullptr;
    QCheckBox* chkUser_ = nullptr;
    QLabel* label3_ = nullptr;
    QLineEdit* txtEmail_ = nullptr;
    QPlainTextEdit* txtResult_ = nullptr;
    QLabel* label2_ = nullptr;
    QLineEdit* txtUser_ = nullptr;
    QPushButton* cmdLogon_ = nullptr;
};

}  // namespace vorlane
