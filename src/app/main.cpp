#include <QApplication>
#include <cstdio>

#include "app/display_check.h"
#include "app/password_prompt.h"
#include "app/qt_operator_messages.h"
#include "common/activity_log.h"
#include "console/console_window.h"
#include "console/directory_console_procedures.h"
#include "console/messaging_logon.h"
#include "console/picker_container_chooser.h"
#include "directory/open_directory.h"
#include "messaging/library_loader.h"
#include "messaging/session_providers.h"

int main(int argc, char** argv) {
    if (!vorlane::displayConfigured()) {
        std::fprintf(stderr, "%s\n", vorlane::kNoDisplayMessage);
        return 1;
    }
    QApplication app(argc, argv);

    vorlane::ActivityLog log(vorlane::ActivityLog::fileBesideExecutable());
    vorlane::QtOperatorMessages messages;

    // The LDAP server that the OpenLDAP client configuration names, else the embedded directory.
    vorlane::DirectoryOptions options;
    options.askPassword = vorlane::passwordPrompt(nullptr);
    vorlane::OpenedDirectory opened = vorlane::openDirectory(options);
    vorlane::Directory& directory = *opened.directory;

    vorlane::DirectoryConsoleProcedures procedures(directory, log);
    vorlane::PickerContainerChooser chooser(directory, log, messages);
    vorlane::DynamicLibraryLoader loader;
    vorlane::ConsoleWindow window(procedures, messages, chooser, [&loader](const QString& mailbox) {
        vorlane::testMapiLogon(mailbox, loader, vorlane::platformSessionProviders());
    });
    procedures.setControls(window);
    log.setResultBox(&window);
    if (!opened.problem.isEmpty()) window.appendText(opened.problem + QStringLiteral("\r\n"));

    window.show();
    const int status = QApplication::exec();
    log.setResultBox(nullptr);
    return status;
}
