#pragma once

#include <QString>

namespace vorlane {

// Where log lines are shown: the console's result box.
class ResultBox {
public:
    virtual ~ResultBox() = default;
    // Shows text at the end of the box, as it stands (it carries its own CR LF).
    virtual void appendText(const QString& text) = 0;
};

// The activity log: every reported step goes, as one line, to the end of the result box and
// to the log file. Writing never fails for the caller: when the file cannot be written the
// box says so once, and again after the file was writable in between.
class ActivityLog {
public:
    explicit ActivityLog(QString filePath);

    // "Vorlane.log" in the folder of the running executable.
    static QString fileBesideExecutable();

    void setResultBox(ResultBox* box) { box_ = box; }
    const QString& filePath() const { return filePath_; }

    // The box gets message + CR LF; then the file is opened, appended (UTF-8, CR LF) and
    // closed, so that nothing logged before a crash is lost.
    void writeLog(const QString& message);

private:
    // The system's reason when the line could not be appended; empty on success.
    QString appendToFile(const QString& line) const;

    QString filePath_;
    ResultBox* box_ = nullptr;
    bool fileFailing_ = false;
};

}  // namespace vorlane
