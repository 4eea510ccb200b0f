#pragma once

#include <QString>

namespace vorlane {

class LibraryLoader;
class SessionProviderRegistry;

// The profile information of a logon: the messaging server's name, a line feed, the mailbox.
QString messagingProfileInfo(const QString& mailbox);

// Tests a messaging logon for the mailbox: holds the messaging library while the session is
// created, logs on with the profile information and logs off again. Every failure is ignored
// and every step attempted; nothing is reported.
void testMapiLogon(const QString& mailbox, LibraryLoader& loader,
                   const SessionProviderRegistry& providers);

// "Logon": the check runs for the mailbox field's text as typed, unless it is empty.
void logonClicked(const QString& emailText, LibraryLoader& loader,
                  const SessionProviderRegistry& providers);

}  // namespace vorlane
