#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "app/display_check.h"

namespace vorlane {
namespace {

// Sets or clears one environment variable for the length of a scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value) {
            qputenv(name, value);
        } else {
            qunsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(DisplayCheck, AnyOfTheThreeVariablesNamesADisplay) {
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    EXPECT_FALSE(displayConfigured());

    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        ScopedEnv one(name, "x");
        EXPECT_TRUE(displayConfigured()) << name;
    }
    ScopedEnv empty("DISPLAY", "");
    EXPECT_FALSE(displayConfigured());
}

TEST(Start, WithoutADisplayTheProgramSaysHowToRunItAndEnds) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QLatin1String(name));
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VORLANE_EXECUTABLE), {});
    ASSERT_TRUE(program.waitForFinished(10000));

    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardError(), QByteArray(kNoDisplayMessage) + '\n');
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
}

}  // namespace
}  // namespace vorlane
