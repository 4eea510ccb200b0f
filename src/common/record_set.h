#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "common/result.h"

namespace vorlane {

// The rows of one query (the platform's record set): a column per requested attribute, by its
// requested name, each cell holding that attribute's values. Starts open, on the first row.
class RecordSet {
public:
    using Row = std::vector<QStringList>;

    RecordSet(QStringList columns, std::vector<Row> rows);

    int state() const { return open_ ? 1 : 0; }  // 1 is open
    bool eof() const { return !open_ || current_ >= rows_.size(); }
    qint32 recordCount() const { return static_cast<qint32>(rows_.size()); }
    const QStringList& columns() const { return columns_; }

    // The current row's first value in a column (empty text when the entry has no value);
    // by requested name in any letter case, or by index from 0.
    Result<QString> field(const QString& name) const;
    Result<QString> field(int index) const;
    Result<QStringList> fieldValues(int index) const;

    Result<void> moveNext();
    Result<void> close();

private:
    QStringList columns_;
    std::vector<Row> rows_;
    std::size_t current_ = 0;
    bool open_ = true;
};

}  // namespace vorlane
