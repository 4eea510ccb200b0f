#include "common/activity_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vorlane {
namespace {

// A result box that keeps its text as it receives it.
class TextBox : public ResultBox {
public:
    void appendText(const QString& text) override { text_ += text; }
    const QString& text() const { return text_; }

private:
    QString text_;
};

class ActivityLogTest : public ::testing::Test {
protected:
    QByteArray fileBytes() const {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    testing::TempDir dir;
    QString logPath = dir.file("Vorlane.log");
    TextBox box;
    ActivityLog log{logPath};

    void SetUp() override { log.setResultBox(&box); }
};

TEST_F(ActivityLogTest, EachLineEndsInCrLfInTheBoxAndInTheUtf8File) {
    const QString lines[] = {QStringLiteral("--------------------"), QString(),
                             QStringLiteral("attempting to open OU=Zürich,DC=example,DC=com"),
                             QStringLiteral("first\r\nsecond")};
    QString expected;
    for (const QString& line : lines) {
        log.writeLog(line);
        expected += line + "\r\n";
        // Nothing is buffered: the file holds every line as soon as it is logged.
        EXPECT_EQ(fileBytes(), expected.toUtf8());
    }
    EXPECT_EQ(box.text(), expected);
    EXPECT_EQ(fileBytes(), QByteArray("--------------------\r\n\r\nattempting to open "
                                      "OU=Z\xC3\xBCrich,DC=example,DC=com\r\nfirst\r\nsecond\r\n"));
}

TEST_F(ActivityLogTest, AppendsToWhatEarlierRunsLeftAndKeepsTheOperatorsText) {
    {
        QFile file(logPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier run\r\n");
    }
    box.appendText(QStringLiteral("typed by the operator"));
    log.writeLog(QStringLiteral("request one"));
    ActivityLog secondRun(logPath);
    secondRun.setResultBox(&box);
    secondRun.writeLog(QStringLiteral("request two"));

    EXPECT_EQ(fileBytes(), QByteArray("earlier run\r\nrequest one\r\nrequest two\r\n"));
    EXPECT_EQ(box.text(), "typed by the operatorrequest one\r\nrequest two\r\n");
}

TEST_F(ActivityLogTest, AnUnwritableFileIsReportedOnceInTheBoxAndAgainAfterARecovery) {
    ASSERT_TRUE(QDir().mkdir(logPath));  // a folder where the file should be: even root can't write
    const QString notice = "cannot write log file " + logPath + ": Is a directory\r\n";

    log.writeLog(QStringLiteral("one"));
    log.writeLog(QStringLiteral("two"));
    EXPECT_EQ(box.text(), "one\r\n" + notice + "two\r\n");

    ASSERT_TRUE(QDir().rmdir(logPath));
    log.writeLog(QStringLiteral("three"));
    EXPECT_EQ(fileBytes(), QByteArray("three\r\n"));

    ASSERT_TRUE(QFile::remove(logPath));
    ASSERT_TRUE(QDir().mkdir(logPath));
    log.writeLog(QStringLiteral("four"));
    log.writeLog(QStringLiteral("five"));
    EXPECT_EQ(box.text(), "one\r\n" + notice + "two\r\nthree\r\nfour\r\n" + notice + "five\r\n");
}

TEST(ActivityLogFile, LivesBesideTheExecutable) {
    EXPECT_EQ(ActivityLog::fileBesideExecutable(),
              QCoreApplication::applicationDirPath() + "/Vorlane.log");
}

TEST(ActivityLogFile, WithoutABoxTheFileIsStillWritten) {
    testing::TempDir dir;
    ActivityLog log(dir.file("Vorlane.log"));
    log.writeLog(QStringLiteral("line"));
    QFile file(dir.file("Vorlane.log"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("line\r\n"));
}

}  // namespace
}  // namespace vorlane
