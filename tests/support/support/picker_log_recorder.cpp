#include "support/picker_log_recorder.h"

namespace vorlane::testing {

PickerLogRecorder::PickerLogRecorder() : log_(dir_.file(QStringLiteral("Vorlane.log"))) {
    log_.setResultBox(this);
}

void PickerLogRecorder::appendText(const QString& text) {
    QString line = text;
    if (line.endsWith(QStringLiteral("\r\n"))) line.chop(2);
    lines_.append(line);
}

}  // namespace vorlane::testing
