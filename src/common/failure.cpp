#include "common/failure.h"

namespace vorlane {

QString failureSuffix(const Failure& failure) {
    return QString::number(failure.code, 16).toUpper() + u' ' + failure.description;
}

namespace failures {
Failure badPathname() { return {0x80005000, QStringLiteral("An invalid ADSI pathname was passed.")}; }
Failure propertyNotFound() {
    return {0x8000500D, QStringLiteral("The directory property cannot be found in the cache.")};
}
Failure invalidFilter() {
    return {0x80005014, QStringLiteral("The specified search filter is invalid.")};
}
Failure objectUnbound() {
    return {0x80005009,
            QStringLiteral("The specified ADSI object is not bound to a remote resource.")};
}
Failure typeMismatch() { return {0xD, QStringLiteral("Type mismatch")}; }
Failure noCurrentRecord() {
    return {0x800A0BCD,
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                           "Requested operation requires a current record.")};
}
Failure itemNotFound() {
    return {0x800A0CC1, QStringLiteral("Item cannot be found in the collection corresponding to "
                                       "the requested name or ordinal.")};
}
Failure objectClosed() {
    return {0x800A0E78, QStringLiteral("Operation is not allowed when the object is closed.")};
}
}  // namespace failures

}  // namespace vorlane
