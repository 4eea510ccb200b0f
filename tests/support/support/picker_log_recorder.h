#pragma once

#include <QString>
#include <QStringList>

#include "common/activity_log.h"
#include "support/temp_dir.h"

namespace vorlane::testing {

// An activity log whose result box keeps the lines, for tests that read back what was logged.
class PickerLogRecorder : public ResultBox {
  public:
    PickerLogRecorder();

    ActivityLog& log() { return log_; }
    // Every line logged so far, without its CR LF.
    const QStringList& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    void appendText(const QString& text) override;

  private:
    TempDir dir_;
    ActivityLog log_;
    QStringList lines_;
};

}  // namespace vorlane::testing
