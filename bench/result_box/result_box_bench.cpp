// How the cost of one logged line depends on what the result box already holds: the same
// batch of lines is timed into an empty box and into boxes already holding many lines, and
// each time is printed as a ratio to the empty box's.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "app/not_yet_wired.h"
#include "app/qt_operator_messages.h"
#include "console/console_window.h"

namespace {

constexpr int kBatch = 2000;

QString line(int i) {
    return QStringLiteral(
               "Success adding LDAP://CN=User %1,OU=Staff,DC=example,DC=com to Sales\r\n")
        .arg(i);
}

// Nanoseconds for one batch of lines into a box that already holds `filled` lines.
qint64 batchTime(int filled) {
    vorlane::NotYetWiredProcedures procedures;
    vorlane::QtOperatorMessages messages;
    vorlane::NotYetWiredChooser chooser;
    vorlane::ConsoleWindow window(procedures, messages, chooser);
    window.show();
    for (int i = 0; i < filled; ++i) window.appendText(line(i));
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kBatch; ++i) window.appendText(line(i));
    QApplication::processEvents();
    return timer.nsecsElapsed();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    batchTime(0);  // warm-up
    const qint64 baseline = batchTime(0);
    std::printf("%d lines into an empty box: ratio 1.00 (baseline)\n", kBatch);
    for (int filled : {10000, 50000, 200000}) {
        const double ratio = static_cast<double>(batchTime(filled)) / static_cast<double>(baseline);
        std::printf("%d lines into a box holding %d lines: ratio %.2f\n", kBatch, filled, ratio);
    }
    return 0;
}
