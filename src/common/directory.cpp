#include "common/directory.h"

namespace vorlane {

Result<QString> DirectoryObject::get(const QString& name) const {
    auto values = getValues(name);
    if (!values) return fail(values.error());
    if (values->isEmpty()) return fail(failures::propertyNotFound());
    return values->front();
}

Result<qint32> DirectoryObject::getInteger(const QString& name) const {
    auto text = get(name);
    if (!text) return fail(text.error());
    bool ok = false;
    const qint64 value = text->toLongLong(&ok);
    if (!ok || value < INT32_MIN || value > UINT32_MAX) return fail(failures::typeMismatch());
    return static_cast<qint32>(static_cast<quint32>(value));
}

}  // namespace vorlane
