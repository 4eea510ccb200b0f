// "Create Group" from the window down to the directory and back into the result box and the
// log file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "console/console_window.h"
#include "console/directory_console_procedures.h"
#include "seeded_directory.h"
#include "support/log_capture.h"
#include "support/recording_chooser.h"
#include "support/recording_messages.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
namespace domain = vorlane::testing::provisioning_domain;

class CreateGroupEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<ConsoleWindow>(procedures, messages, chooser);
        procedures.setControls(*window);
        log.log().setResultBox(window.get());
    }
    void TearDown() override {
        log.log().setResultBox(nullptr);
        window.reset();
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    }

    template <typename T>
    T* control(const char* name) const {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    SeededDirectory seeded;
    LogCapture log;
    DirectoryConsoleProcedures procedures{seeded.directory(), log.log()};
    RecordingMessages messages;
    RecordingChooser chooser;
    std::unique_ptr<ConsoleWindow> window;
};

TEST_F(CreateGroupEndToEnd, CreatesTheGroupWithTheUserThenFindsBothTheSecondTime) {
    control<QLineEdit>("txtContainer")->setText(domain::kContainer);
    control<QLineEdit>("txtGroup")->setText(QStringLiteral("Field Sales"));
    control<QRadioButton>("optUniversal")->click();
    control<QCheckBox>("chkUser")->click();
    control<QLineEdit>("txtEmail")->setText(domain::kAliceMail);

    QPushButton* create = control<QPushButton>("cmdCreate");
    create->click();
    create->click();

    const QString opening = QString(20, u'-') + QStringLiteral("\r\nattempting to open ") +
                            domain::kContainer + QStringLiteral("\r\nopened ") +
                            domain::kContainer + QStringLiteral("\r\n");
    const QString adding =
        QStringLiteral("Adding ") + domain::kAliceMail + QStringLiteral(" to Field Sales\r\n");
    const QString expected = opening +
                             QStringLiteral(
                                 "Field Sales not found, attempting to create it\r\n"
                                 "created Field Sales, attempting to assign properties\r\n"
                                 "putting samAccountName as FieldSales\r\n"
                                 "putting groupType as Universal\r\n"
                                 "setting description = DEZ distribution list\r\n"
                                 "calling SetInfo\r\n"
                                 "SetInfo on properties  returned successfully\r\n"
                                 "attempting to mail-enable Field Sales\r\n"
                                 "SetInfo on MailEnable returned successfully\r\n") +
                             adding + QStringLiteral("retrieved user object with ADsPath ") +
                             domain::kAlicePath + QStringLiteral("\r\nattempting to add ") +
                             domain::kAlicePath + QStringLiteral(" to group\r\nSuccess adding ") +
                             domain::kAliceMail + QStringLiteral(" to Field Sales\r\n") + opening +
                             QStringLiteral(
                                 "found existing group Field Sales\r\n"
                                 "found samAccountName=FieldSales\r\n"
                                 "found groupType=Universal\r\n"
                                 "found description=DEZ distribution list\r\n") +
                             adding + QStringLiteral("Found ") + domain::kAliceMail +
                             QStringLiteral(" as member of Field Sales\r\n");

    EXPECT_EQ(window->resultText(), expected);
    EXPECT_EQ(log.fileLines(), splitCrLfLines(expected));
    EXPECT_TRUE(messages.texts.isEmpty());

    auto group = seeded.directory().bindGroup(
        QStringLiteral("LDAP://CN=Field Sales,OU=Provisioning,DC=example,DC=com"));
    ASSERT_TRUE(group);
    EXPECT_EQ((*group)->getInteger(QStringLiteral("groupType")), 8);
    EXPECT_FALSE((*group)->get(QStringLiteral("mail")).value_or(QString()).isEmpty());
    EXPECT_EQ((*group)->isMember(domain::kAlicePath), true);
}

}  // namespace
}  // namespace vorlane
