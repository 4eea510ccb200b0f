#include "support/log_capture.h"

#include <QFile>

namespace vorlane::testing {

LogCapture::LogCapture() : log_(dir_.file(QStringLiteral("Vorlane.log"))) {
    log_.setResultBox(&box_);
}

QStringList LogCapture::fileLines() const {
    QFile file(log_.filePath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return splitCrLfLines(QString::fromUtf8(file.readAll()));
}

}  // namespace vorlane::testing
