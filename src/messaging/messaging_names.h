#pragma once

#include <QString>

namespace vorlane {

// The messaging server of the logon check's profile; fixed when the program is built.
QString messagingServerName();

// The messaging client library that the logon check loads; fixed when the program is built.
QString messagingLibraryName();

// The name by which the messaging session is created from the session providers.
inline constexpr char kMessagingSessionProgId[] = "MAPI.Session";

}  // namespace vorlane
