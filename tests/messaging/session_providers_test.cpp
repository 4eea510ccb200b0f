#include "messaging/session_providers.h"

#include <gtest/gtest.h>

#include "messaging/messaging_names.h"

namespace vorlane {
namespace {

class SilentSession : public MessagingSession {
  public:
    Result<void> logon(const QString&) override { return {}; }
    Result<void> logoff() override { return {}; }
};

TEST(SessionProviders, CreatesASessionByItsRegisteredNameInAnyLetterCase) {
    SessionProviderRegistry providers;
    providers.registerProvider(QStringLiteral("MAPI.Session"),
                               [] { return std::make_unique<SilentSession>(); });
    EXPECT_NE(providers.create(QStringLiteral("mapi.session")), nullptr);
    EXPECT_EQ(providers.create(QStringLiteral("Other.Session")), nullptr);
}

TEST(SessionProviders, ThisPlatformHasNoMessagingSession) {
    EXPECT_EQ(platformSessionProviders().create(QString::fromLatin1(kMessagingSessionProgId)),
              nullptr);
}

TEST(MessagingNames, ServerAndLibraryAreFixedByTheBuild) {
    EXPECT_FALSE(messagingServerName().isEmpty());
    EXPECT_FALSE(messagingLibraryName().isEmpty());
}

}  // namespace
}  // namespace vorlane
