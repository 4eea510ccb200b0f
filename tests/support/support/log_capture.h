#pragma once

#include <QStringList>

#include "common/activity_log.h"
#include "support/recording_result_box.h"
#include "support/temp_dir.h"

namespace vorlane::testing {

// An activity log writing to a scratch file and a recording result box.
class LogCapture {
  public:
    LogCapture();
    ActivityLog& log() { return log_; }
    QStringList boxLines() const { return box_.lines(); }
    // The log file's lines (UTF-8, CR LF); empty when there is no file.
    QStringList fileLines() const;

  private:
    TempDir dir_;
    RecordingResultBox box_;
    ActivityLog log_;
};

}  // namespace vorlane::testing
