#include "common/record_set.h"

namespace vorlane {

RecordSet::RecordSet(QStringList columns, std::vector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

Result<QString> RecordSet::field(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return field(i);
    }
    if (!open_) return fail(failures::objectClosed());
    return fail(failures::itemNotFound());
}

Result<QString> RecordSet::field(int index) const {
    auto values = fieldValues(index);
    if (!values) return fail(values.error());
    return values->isEmpty() ? QString() : values->front();
}

Result<QStringList> RecordSet::fieldValues(int index) const {
    if (!open_) return fail(failures::objectClosed());
    if (index < 0 || index >= columns_.size()) return fail(failures::itemNotFound());
    if (eof()) return fail(failures::noCurrentRecord());
    const Row& row = rows_[current_];
    return static_cast<std::size_t>(index) < row.size() ? row[index] : QStringList();
}

Result<void> RecordSet::moveNext() {
    if (!open_) return fail(failures::objectClosed());
    if (eof()) return fail(failures::noCurrentRecord());
    ++current_;
    return {};
}

Result<void> RecordSet::close() {
    if (!open_) return fail(failures::objectClosed());
    open_ = false;
    return {};
}

}  // namespace vorlane
