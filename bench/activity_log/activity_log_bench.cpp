// Whether the cost of one logged line grows with what is already logged: 100,000 lines go
// through the activity log into the console's result box and a log file, and the time per
// line over the last 10,000 is printed as a ratio to the time per line over the first 10,000
// (of the medians, which bursts of other work on the machine barely move, and of the means).
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>
#include <ctime>

#include "app/qt_operator_messages.h"
#include "common/activity_log.h"
#include "console/console_procedures.h"
#include "console/console_window.h"
#include "console/container_chooser.h"

namespace {

// The window is only the log's result box here: no directory work behind its buttons.
class NoProcedures : public vorlane::ConsoleProcedures {
  public:
    QString getADsPathFromSMTP(const QString&) override { return {}; }
    void createADGroup(const QString&, const vorlane::MemberPathList&, const QString&) override {}
};

class NoChooser : public vorlane::ContainerChooser {
  public:
    QString chooseContainer(QWidget*, const QString& containerPath) override {
        return containerPath;
    }
};

constexpr int kLines = 100000;
constexpr int kWindow = 10000;

// CPU time of this thread: unlike wall time, it does not count what other processes on the
// machine take, and it includes the system calls of the file writes.
qint64 threadCpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64{now.tv_sec} * 1000000000 + now.tv_nsec;
}

qint64 median(std::vector<qint64>::iterator begin, std::vector<qint64>::iterator end) {
    std::vector<qint64> times(begin, end);
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

QString line(int i) {
    return QStringLiteral("Success adding user%1@example.com to Sales Team %1").arg(i);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    NoProcedures procedures;
    vorlane::QtOperatorMessages messages;
    NoChooser chooser;
    vorlane::ConsoleWindow window(procedures, messages, chooser);
    window.show();
    vorlane::ActivityLog log(dir.filePath(QStringLiteral("Vorlane.log")));
    log.setResultBox(&window);

    std::vector<qint64> perLine(kLines);
    for (int i = 0; i < kLines; ++i) {
        const QString text = line(i);
        const qint64 before = threadCpuNanoseconds();
        log.writeLog(text);
        perLine[i] = threadCpuNanoseconds() - before;
    }

    const auto first = perLine.begin();
    const auto last = perLine.end() - kWindow;
    const double meanRatio = static_cast<double>(std::accumulate(last, perLine.end(), qint64{0})) /
                             static_cast<double>(std::accumulate(first, first + kWindow, qint64{0}));
    const double medianRatio = static_cast<double>(median(last, perLine.end())) /
                               static_cast<double>(median(first, first + kWindow));
    std::printf("%d lines through the activity log; time per line, last %d over first %d: "
                "ratio %.2f of the medians, %.2f of the means (should stay below 1.5)\n",
                kLines, kWindow, kWindow, medianRatio, meanRatio);
    return 0;
}
