#include "console/messaging_logon.h"

#include "messaging/library_loader.h"
#include "messaging/messaging_names.h"
#include "messaging/session_providers.h"

namespace vorlane {

QString messagingProfileInfo(const QString& mailbox) {
    return messagingServerName() + u'\n' + mailbox;
}

void testMapiLogon(const QString& mailbox, LibraryLoader& loader,
                   const SessionProviderRegistry& providers) {
    const LibraryHandle library = loader.load(messagingLibraryName());
    auto session = providers.create(QString::fromLatin1(kMessagingSessionProgId));
    // The library is held only while the session is made; a zero handle fails harmlessly.
    static_cast<void>(loader.release(library));
    if (!session) return;  // logon and logoff would fail, silently
    static_cast<void>(session->logon(messagingProfileInfo(mailbox)));
    static_cast<void>(session->logoff());
}

void logonClicked(const QString& emailText, LibraryLoader& loader,
                  const SessionProviderRegistry& providers) {
    if (emailText.isEmpty()) return;
    testMapiLogon(emailText, loader, providers);
}

}  // namespace vorlane
