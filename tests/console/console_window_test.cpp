#include "console/console_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <memory>
#include <string>

#include "support/recording_chooser.h"
#include "support/recording_messages.h"
#include "support/recording_procedures.h"

namespace vorlane {
namespace {

const QString kDn = QStringLiteral("OU=Sales,DC=example,DC=com");

class ConsoleWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<ConsoleWindow>(
            procedures, messages, chooser,
            [this](const QString& mailbox) { logonChecks.append(mailbox); });
    }

    void TearDown() override {
        window.reset();
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    }

    void showActive() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    QPlainTextEdit* resultBox() const { return control<QPlainTextEdit>("txtResult"); }

    // A request that passes every check, with "Add User".
    void fillValidRequest() {
        field("txtContainer")->setText(kDn);
        field("txtGroup")->setText(QStringLiteral("Sales Team"));
        control<QCheckBox>("chkUser")->click();
        field("txtEmail")->setText(QStringLiteral("ann@example.com"));
    }

    testing::RecordingProcedures procedures;
    testing::RecordingMessages messages;
    testing::RecordingChooser chooser;
    QStringList logonChecks;
    std::unique_ptr<ConsoleWindow> window;
};

// --- Layout and initial state ---

TEST_F(ConsoleWindowTest, ControlsSitAtTheirTwipsPositions) {
    EXPECT_EQ(window->objectName(), QStringLiteral("frmTest"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vorlane"));
    EXPECT_EQ(window->size(), QSize(326, 452));  // 4890 x 6780 twips

    struct Spot {
        const char* name;
        QRect geometry;
    };
    // Twips / 15; the option buttons relative to Frame1.
    for (const Spot& spot :
         {Spot{"Label4", {16, 16, 121, 17}}, Spot{"txtContainer", {16, 32, 217, 19}},
          Spot{"cmdAD", {248, 32, 57, 25}}, Spot{"cmdCreate", {232, 64, 81, 25}},
          Spot{"Frame1", {16, 96, 297, 49}}, Spot{"txtEmail", {128, 168, 177, 19}},
          Spot{"txtResult", {16, 192, 297, 249}}, Spot{"cmdLogon", {224, 280, 65, 25}}}) {
        EXPECT_EQ(control(spot.name)->geometry(), spot.geometry) << spot.name;
    }
    // Captioned buttons may grow to the right to show their whole caption.
    for (const Spot& spot :
         {Spot{"optUniversal", {8, 16, 73, 17}}, Spot{"optGlobal", {104, 16, 81, 17}},
          Spot{"optDomain", {192, 16, 87, 17}},  // 1300 twips round up
          Spot{"chkUser", {16, 160, 89, 17}}}) {
        const QRect geometry = control(spot.name)->geometry();
        EXPECT_EQ(geometry.topLeft(), spot.geometry.topLeft()) << spot.name;
        EXPECT_EQ(geometry.height(), spot.geometry.height()) << spot.name;
        EXPECT_GE(geometry.width(), spot.geometry.width()) << spot.name;
        EXPECT_GE(geometry.width(), control(spot.name)->sizeHint().width()) << spot.name;
    }
    for (const char* option : {"optUniversal", "optGlobal", "optDomain"}) {
        EXPECT_EQ(control(option)->parentWidget(), control("Frame1")) << option;
    }

    // Nothing follows the window's size.
    const QRect before = control("txtResult")->geometry();
    window->resize(600, 700);
    EXPECT_EQ(control("txtResult")->geometry(), before);
}

TEST_F(ConsoleWindowTest, ControlsCarryTheirTexts) {
    struct Text {
        const char* name;
        const char* text;
    };
    for (const Text& t : {Text{"Label1", "Group Name"}, Text{"Label2", "User Name"},
                          Text{"Label3", "User SMTP address"}, Text{"Label4", "Container Path"}}) {
        EXPECT_EQ(control<QLabel>(t.name)->text(), QLatin1String(t.text)) << t.name;
    }
    for (const Text& t :
         {Text{"cmdAD", "Select..."}, Text{"cmdCreate", "Create Group"}, Text{"cmdLogon", "Logon"},
          Text{"optUniversal", "Universal"}, Text{"optGlobal", "Global"},
          Text{"optDomain", "Domain Local"}, Text{"chkUser", "Add User"}}) {
        EXPECT_EQ(control<QAbstractButton>(t.name)->text(), QLatin1String(t.text)) << t.name;
    }
    EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("Type"));
    EXPECT_TRUE(control<QPushButton>("cmdCreate")->isDefault());
}

TEST_F(ConsoleWindowTest, OpensInItsInitialState) {
    showActive();

    EXPECT_TRUE(control<QRadioButton>("optUniversal")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("optGlobal")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("optDomain")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkUser")->isChecked());
    EXPECT_FALSE(field("txtEmail")->isEnabled());
    for (const char* name : {"txtContainer", "txtGroup", "txtEmail", "txtUser"}) {
        EXPECT_TRUE(field(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(resultBox()->document()->isEmpty());
    for (const char* name : {"Label2", "txtUser", "cmdLogon"}) {
        EXPECT_FALSE(control(name)->isVisible()) << name;
    }
    for (const char* name : {"Label1", "Label3", "Label4", "txtContainer", "cmdAD", "txtGroup",
                             "cmdCreate", "Frame1", "chkUser", "txtEmail", "txtResult"}) {
        EXPECT_TRUE(control(name)->isVisible()) << name;
    }
    EXPECT_EQ(QApplication::focusWidget(), control("txtContainer"));

    EXPECT_TRUE(window->universalSelected());
    EXPECT_FALSE(window->globalSelected());
    EXPECT_FALSE(window->addUserChecked());
}

TEST_F(ConsoleWindowTest, ResultBoxScrollsBothWaysWithoutWrapping) {
    QPlainTextEdit* box = resultBox();
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(ConsoleWindowTest, TabFollowsTheTabIndexes) {
    const QStringList controls{"txtContainer", "txtGroup", "optUniversal", "optGlobal", "chkUser",
                               "optDomain",    "txtEmail", "cmdCreate",    "txtUser",   "cmdLogon",
                               "txtResult",    "cmdAD",    "Label1",       "Label2",    "Label3",
                               "Label4",       "Frame1"};
    QStringList order;
    QWidget* start = control("txtContainer");
    QWidget* w = start;
    do {
        if (controls.contains(w->objectName()) && (w->focusPolicy() & Qt::TabFocus)) {
            order.append(w->objectName());
        }
        w = w->nextInFocusChain();
    } while (w != start);

    EXPECT_EQ(order, (QStringList{"txtContainer", "txtGroup", "optUniversal", "optGlobal",
                                  "chkUser", "optDomain", "txtEmail", "cmdCreate", "txtUser",
                                  "cmdLogon", "txtResult", "cmdAD"}));

    // Tab leaves the result box instead of being typed into it.
    showActive();
    resultBox()->setFocus();
    QTest::keyClick(resultBox(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("cmdAD"));
    EXPECT_TRUE(resultBox()->document()->isEmpty());
}

TEST_F(ConsoleWindowTest, TextBoxesAreNamedByTheirLabels) {
    struct Pair {
        const char* label;
        const char* field;
    };
    for (const Pair& p : {Pair{"Label4", "txtContainer"}, Pair{"Label1", "txtGroup"},
                          Pair{"Label3", "txtEmail"}, Pair{"Label2", "txtUser"}}) {
        QLabel* label = control<QLabel>(p.label);
        QWidget* box = control(p.field);
        EXPECT_EQ(label->buddy(), box) << p.field;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(accessible, nullptr) << p.field;
        EXPECT_EQ(accessible->text(QAccessible::Name), label->text()) << p.field;
        EXPECT_EQ(box->accessibleName(), label->text()) << p.field;
    }
}

// --- The entry checks ---

struct RejectedCase {
    std::string name;
    QString container;
    QString group;
    bool addUser;
    QString email;
    QString message;
    const char* focus;
};

void PrintTo(const RejectedCase& c, std::ostream* os) {
    *os << c.name;
}

class RejectedRequest : public ConsoleWindowTest,
                        public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedRequest, ShowsItsMessageMovesTheFocusAndHandsNothingOn) {
    const RejectedCase& c = GetParam();
    showActive();
    if (c.addUser) control<QCheckBox>("chkUser")->click();
    field("txtContainer")->setText(c.container);
    field("txtGroup")->setText(c.group);
    field("txtEmail")->setText(c.email);
    control("cmdAD")->setFocus();

    QTest::mouseClick(control("cmdCreate"), Qt::LeftButton);

    EXPECT_EQ(messages.texts, QStringList{c.message});
    EXPECT_EQ(messages.parents, QList<QWidget*>{window.get()});
    EXPECT_EQ(QApplication::focusWidget(), control(c.focus));
    EXPECT_TRUE(procedures.calls.isEmpty());
    EXPECT_TRUE(resultBox()->document()->isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RejectedRequest,
    ::testing::Values(RejectedCase{"BothEmpty", "", "", false, "", "Enter the full container path",
                                   "txtContainer"},
                      RejectedCase{"GroupEmpty", kDn, "", true, "x", "Enter the group name",
                                   "txtGroup"},
                      RejectedCase{"AddressEmpty", kDn, "G", true, "",
                                   "Enter the user's SMTP address!", "txtEmail"},
                      RejectedCase{"AddressWithoutDot", kDn, "G", true, "ann@example",
                                   "SMTP address is not valid!", "txtEmail"}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST_F(ConsoleWindowTest, EntriesPassAsTyped) {
    struct Entries {
        QString container, group, email;
    };
    for (const Entries& e : {Entries{" ", "  ", ".@"}, Entries{kDn, "G", "@."},
                             Entries{kDn, " Sales ", " ann@example.com "}}) {
        SCOPED_TRACE(e.email.toStdString());
        procedures = {};
        field("txtContainer")->setText(e.container);
        field("txtGroup")->setText(e.group);
        if (!control<QCheckBox>("chkUser")->isChecked()) control<QCheckBox>("chkUser")->click();
        field("txtEmail")->setText(e.email);

        control<QPushButton>("cmdCreate")->click();

        EXPECT_TRUE(messages.texts.isEmpty());
        EXPECT_EQ(procedures.lookups, QStringList{e.email});
        ASSERT_EQ(procedures.creates.size(), 1u);
        EXPECT_EQ(procedures.creates[0].groupName, e.group);
        EXPECT_EQ(procedures.creates[0].containerPath, e.container);
    }
}

// --- Member path list ---

TEST_F(ConsoleWindowTest, WithoutAddUserNoLookupAndNoList) {
    field("txtContainer")->setText(kDn);
    field("txtGroup")->setText(QStringLiteral("Sales Team"));

    control<QPushButton>("cmdCreate")->click();

    EXPECT_EQ(procedures.calls, QStringList{QStringLiteral("createADGroup")});
    ASSERT_EQ(procedures.creates.size(), 1u);
    EXPECT_FALSE(procedures.creates[0].memberPaths.has_value());
    EXPECT_EQ(procedures.creates[0].groupName, QStringLiteral("Sales Team"));
    EXPECT_EQ(procedures.creates[0].containerPath, kDn);
}

TEST_F(ConsoleWindowTest, WithAddUserTheListHoldsTheLookupResult) {
    for (const QString& found :
         {QStringLiteral("LDAP://CN=Ann Lee,OU=Staff,DC=example,DC=com"), QString()}) {
        SCOPED_TRACE(found.toStdString());
        procedures = {};
        procedures.lookupResult = found;
        if (!control<QCheckBox>("chkUser")->isChecked()) fillValidRequest();

        control<QPushButton>("cmdCreate")->click();

        EXPECT_EQ(procedures.calls, (QStringList{QStringLiteral("getADsPathFromSMTP"),
                                                 QStringLiteral("createADGroup")}));
        EXPECT_EQ(procedures.lookups, QStringList{QStringLiteral("ann@example.com")});
        ASSERT_EQ(procedures.creates.size(), 1u);
        EXPECT_EQ(procedures.creates[0].memberPaths, QStringList{found});
    }
}

// --- "Add User" ---

TEST_F(ConsoleWindowTest, AddUserEnablesAndClearsTheAddress) {
    auto* chkUser = control<QCheckBox>("chkUser");
    QLineEdit* email = field("txtEmail");

    chkUser->click();
    EXPECT_TRUE(email->isEnabled());
    EXPECT_TRUE(window->addUserChecked());
    email->setText(QStringLiteral("ann@example.com"));
    EXPECT_EQ(window->emailText(), QStringLiteral("ann@example.com"));

    chkUser->click();
    EXPECT_FALSE(email->isEnabled());
    EXPECT_TRUE(email->text().isEmpty());

    chkUser->click();  // the address does not come back
    EXPECT_TRUE(email->isEnabled());
    EXPECT_TRUE(email->text().isEmpty());
}

TEST_F(ConsoleWindowTest, ScopeSelectionIsReadFromTheOptionButtons) {
    control<QRadioButton>("optGlobal")->click();
    EXPECT_TRUE(window->globalSelected());
    EXPECT_FALSE(window->universalSelected());
    control<QRadioButton>("optDomain")->click();
    EXPECT_FALSE(window->globalSelected());
    EXPECT_FALSE(window->universalSelected());
    EXPECT_FALSE(control<QRadioButton>("optGlobal")->isChecked());
}

// --- Enter ---

// "Create Group" is the default button: Enter anywhere but on another button or in the
// result box presses it.
class EnterOn : public ConsoleWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EnterOn, RunsCreateGroup) {
    showActive();
    fillValidRequest();
    QWidget* focused = control(GetParam());
    focused->setFocus();

    QTest::keyClick(focused, Qt::Key_Return);
    QTest::keyClick(focused, Qt::Key_Enter, Qt::KeypadModifier);

    EXPECT_EQ(procedures.creates.size(), 2u);
    EXPECT_TRUE(messages.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Controls, EnterOn,
                         ::testing::Values("txtContainer", "txtGroup", "txtEmail", "chkUser",
                                           "optUniversal"));

TEST_F(ConsoleWindowTest, EnterInAnEmptyFieldGivesTheCheckMessage) {
    showActive();
    QTest::keyClick(field("txtContainer"), Qt::Key_Return);
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Enter the full container path")});
}

TEST_F(ConsoleWindowTest, EnterOnAButtonPressesThatButtonOnce) {
    showActive();
    fillValidRequest();

    control("cmdCreate")->setFocus();
    QTest::keyClick(control("cmdCreate"), Qt::Key_Return);
    EXPECT_EQ(procedures.creates.size(), 1u);

    control("cmdAD")->setFocus();
    QTest::keyClick(control("cmdAD"), Qt::Key_Return);
    EXPECT_EQ(chooser.presets.size(), 1u);
    EXPECT_EQ(procedures.creates.size(), 1u);
}

TEST_F(ConsoleWindowTest, EnterInTheResultBoxBreaksTheLine) {
    showActive();
    fillValidRequest();
    resultBox()->setFocus();

    QTest::keyClicks(resultBox(), QStringLiteral("a"));
    QTest::keyClick(resultBox(), Qt::Key_Return);

    EXPECT_TRUE(procedures.creates.empty());
    EXPECT_EQ(window->resultText(), QStringLiteral("a\r\n"));
}

// --- "Select..." ---

struct SelectCase {
    std::string name;
    QString answer;
    QString expected;
    bool replaced;
};

void PrintTo(const SelectCase& c, std::ostream* os) {
    *os << c.name;
}

class SelectContainer : public ConsoleWindowTest,
                        public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectContainer, CopiesThePickerPathOnlyWhenItDiffers) {
    QLineEdit* container = field("txtContainer");
    container->setText(kDn);
    container->setCursorPosition(3);  // setText would move it to the end
    chooser.answerWith(GetParam().answer);

    control<QPushButton>("cmdAD")->click();

    EXPECT_EQ(chooser.presets, QStringList{kDn});
    EXPECT_EQ(chooser.owners, QList<QWidget*>{window.get()});
    EXPECT_EQ(container->text(), GetParam().expected);
    EXPECT_EQ(container->cursorPosition() != 3, GetParam().replaced);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(procedures.calls.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Answers, SelectContainer,
                         ::testing::Values(SelectCase{"Same", kDn, kDn, false},
                                           SelectCase{"OtherContainer", "OU=HR,DC=example,DC=com",
                                                      "OU=HR,DC=example,DC=com", true},
                                           SelectCase{"OnlyLetterCase",
                                                      "ou=sales,dc=example,dc=com",
                                                      "ou=sales,dc=example,dc=com", true},
                                           SelectCase{"Emptied", "", "", true}),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

// --- The result box ---

TEST_F(ConsoleWindowTest, ResultTextEndsEveryLineWithCrLf) {
    showActive();
    resultBox()->setFocus();
    QTest::keyClicks(resultBox(), QStringLiteral("note "));

    window->appendText(QStringLiteral("--------------------\r\n"));
    window->appendText(QStringLiteral("\r\n"));
    window->appendText(QStringLiteral("first\r\nsecond\r\n"));
    window->appendText(QStringLiteral("Grüße aus Zürich, 東京\u00A0OU\r\n"));

    EXPECT_EQ(window->resultText(),
              QStringLiteral("note --------------------\r\n\r\nfirst\r\nsecond\r\n"
                             "Grüße aus Zürich, 東京\u00A0OU\r\n"));
    EXPECT_EQ(resultBox()->document()->blockCount(), 6);  // five lines and the empty last one
}

TEST_F(ConsoleWindowTest, AppendingAddsAtTheEndWithoutRewriting) {
    window->appendText(QStringLiteral("one\r\n"));
    QSignalSpy changes(resultBox()->document(), &QTextDocument::contentsChange);

    window->appendText(QStringLiteral("two\r\n"));

    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toInt(), 4);  // position: the old end
    EXPECT_EQ(changes[0][1].toInt(), 0);  // nothing removed
    EXPECT_EQ(changes[0][2].toInt(), 4);  // "two" and its line break
}

TEST_F(ConsoleWindowTest, LoggedLinesCannotBeUndone) {
    showActive();
    resultBox()->setFocus();
    QTest::keyClicks(resultBox(), QStringLiteral("typed"));
    window->appendText(QStringLiteral("line\r\n"));

    QTest::keyClick(resultBox(), Qt::Key_Z, Qt::ControlModifier);

    EXPECT_EQ(window->resultText(), QStringLiteral("typedline\r\n"));
}

struct CaretCase {
    std::string name;
    int anchor;    // -1: the end of the text
    int position;  // -1: the end of the text
};

void PrintTo(const CaretCase& c, std::ostream* os) {
    *os << c.name;
}

class CaretAndScroll : public ConsoleWindowTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(CaretAndScroll, StayWhereTheyWere) {
    showActive();
    QPlainTextEdit* box = resultBox();
    for (int i = 0; i < 100; ++i) {
        window->appendText(QStringLiteral("line %1 of a text wide enough to scroll sideways in "
                                          "the result box of the console window\r\n")
                               .arg(i));
    }
    const int end = box->document()->characterCount() - 1;
    QTextCursor caret(box->document());
    caret.setPosition(GetParam().anchor < 0 ? end : GetParam().anchor);
    caret.setPosition(GetParam().position < 0 ? end : GetParam().position, QTextCursor::KeepAnchor);
    box->setTextCursor(caret);
    const int anchor = caret.anchor();  // the cursor itself would move with the text
    const int position = caret.position();
    box->verticalScrollBar()->setValue(40);
    box->horizontalScrollBar()->setValue(30);
    ASSERT_EQ(box->verticalScrollBar()->value(), 40);
    ASSERT_EQ(box->horizontalScrollBar()->value(), 30);

    for (int i = 0; i < 50; ++i) window->appendText(QStringLiteral("more %1\r\n").arg(i));

    EXPECT_EQ(box->textCursor().anchor(), anchor);
    EXPECT_EQ(box->textCursor().position(), position);
    EXPECT_EQ(box->verticalScrollBar()->value(), 40);
    EXPECT_EQ(box->horizontalScrollBar()->value(), 30);
    EXPECT_EQ(box->document()->blockCount(), 151);
}

INSTANTIATE_TEST_SUITE_P(Carets, CaretAndScroll,
                         ::testing::Values(CaretCase{"AtStart", 0, 0},
                                           CaretCase{"Selection", 120, 200},
                                           CaretCase{"AtEnd", -1, -1},
                                           CaretCase{"SelectionToEnd", 50, -1}),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

// --- The hidden "Logon" button ---

TEST_F(ConsoleWindowTest, LogonChecksTheTypedMailboxUnlessEmpty) {
    auto* logon = control<QPushButton>("cmdLogon");
    logon->click();
    EXPECT_TRUE(logonChecks.isEmpty());

    control<QCheckBox>("chkUser")->click();
    field("txtEmail")->setText(QStringLiteral("  "));
    logon->click();
    EXPECT_EQ(logonChecks, QStringList{QStringLiteral("  ")});
}

TEST(ConsoleWindowWithoutLogon, LogonDoesNothing) {
    testing::RecordingProcedures procedures;
    testing::RecordingMessages messages;
    testing::RecordingChooser chooser;
    ConsoleWindow window(procedures, messages, chooser);
    window.findChild<QLineEdit*>(QStringLiteral("txtEmail"))->setText(QStringLiteral("a@b.c"));
    window.findChild<QPushButton*>(QStringLiteral("cmdLogon"))->click();
    EXPECT_TRUE(procedures.calls.isEmpty());
}

}  // namespace
}  // namespace vorlane
