#include "common/activity_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace vorlane {

namespace {
constexpr auto kLineEnd = "\r\n";
}

ActivityLog::ActivityLog(QString filePath) : filePath_(std::move(filePath)) {}

QString ActivityLog::fileBesideExecutable() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Vorlane.log"));
}

void ActivityLog::writeLog(const QString& message) {
    const QString line = message + QLatin1String(kLineEnd);
    if (box_) box_->appendText(line);

    const QString reason = appendToFile(line);
    if (reason.isEmpty()) {
        fileFailing_ = false;
        return;
    }
    if (fileFailing_) return;
    fileFailing_ = true;
    if (box_) {
        box_->appendText(QStringLiteral("cannot write log file ") + filePath_ + QStringLiteral(": ") +
                         reason + QLatin1String(kLineEnd));
    }
}

QString ActivityLog::appendToFile(const QString& line) const {
    const QByteArray path = QFile::encodeName(filePath_);
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return QString::fromLocal8Bit(std::strerror(errno));

    const QByteArray bytes = line.toUtf8();
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    QString reason;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            reason = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        data += written;
        left -= written;
    }
    if (::close(fd) != 0 && reason.isEmpty()) reason = QString::fromLocal8Bit(std::strerror(errno));
    return reason;
}

}  // namespace vorlane
