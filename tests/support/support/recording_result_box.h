#pragma once

#include <QString>
#include <QStringList>

#include "common/activity_log.h"

namespace vorlane::testing {

// A result box that keeps what it was shown.
class RecordingResultBox : public ResultBox {
  public:
    void appendText(const QString& text) override { text_ += text; }
    const QString& text() const { return text_; }
    // The lines shown, each without its CR LF.
    QStringList lines() const;

  private:
    QString text_;
};

// Splits text made of CR LF terminated lines into the lines.
QStringList splitCrLfLines(const QString& text);

}  // namespace vorlane::testing
