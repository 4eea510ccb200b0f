#include <QApplication>
#include <cstdio>

#include "app/display_check.h"
#include "app/not_yet_wired.h"
#include "app/qt_operator_messages.h"
#include "common/activity_log.h"
#include "console/console_window.h"

int main(int argc, char** argv) {
    if (!vorlane::displayConfigured()) {
        std::fprintf(stderr, "%s\n", vorlane::kNoDisplayMessage);
        return 1;
    }
    QApplication app(argc, argv);

    vorlane::ActivityLog log(vorlane::ActivityLog::fileBesideExecutable());
    vorlane::QtOperatorMessages messages;
    vorlane::NotYetWiredProcedures procedures;
    vorlane::NotYetWiredChooser chooser;

    vorlane::ConsoleWindow window(procedures, messages, chooser);
    log.setResultBox(&window);
    window.show();
    const int status = QApplication::exec();
    log.setResultBox(nullptr);
    return status;
}
