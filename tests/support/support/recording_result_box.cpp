#include "support/recording_result_box.h"

namespace vorlane::testing {

QStringList splitCrLfLines(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

QStringList RecordingResultBox::lines() const {
    return splitCrLfLines(text_);
}

}  // namespace vorlane::testing
