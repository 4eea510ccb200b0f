#include "messaging/messaging_names.h"

namespace vorlane {

QString messagingServerName() {
    return QStringLiteral(VORLANE_MESSAGING_SERVER);
}

QString messagingLibraryName() {
    return QStringLiteral(VORLANE_MESSAGING_LIBRARY);
}

}  // namespace vorlane
