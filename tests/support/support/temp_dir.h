#pragma once

#include <QTemporaryDir>
#include <QString>

namespace vorlane::testing {

// A scratch folder removed with the fixture.
class TempDir {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

}  // namespace vorlane::testing
