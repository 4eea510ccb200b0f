#include "console/messaging_logon.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "messaging/library_loader.h"
#include "messaging/messaging_names.h"
#include "messaging/session_providers.h"

namespace vorlane {
namespace {

// What the loader and the session were asked, in order.
using Events = QStringList;

class RecordingLoader : public LibraryLoader {
  public:
    RecordingLoader(Events& events, bool loads) : events_(events), loads_(loads) {}
    LibraryHandle load(const QString& name) override {
        events_ << QStringLiteral("load ") + name;
        return loads_ ? &library_ : nullptr;
    }
    Result<void> release(LibraryHandle handle) override {
        events_ << (handle ? QStringLiteral("release handle") : QStringLiteral("release zero"));
        if (!handle) return fail({0x80070006, QStringLiteral("The handle is invalid.")});
        return {};
    }

  private:
    Events& events_;
    bool loads_;
    int library_ = 0;
};

class RecordingSession : public MessagingSession {
  public:
    RecordingSession(Events& events, bool fails) : events_(events), fails_(fails) {}
    ~RecordingSession() override { events_ << QStringLiteral("session released"); }
    Result<void> logon(const QString& profileInfo) override {
        events_ << QStringLiteral("logon ") + profileInfo;
        if (fails_) return fail({0x80040111, QStringLiteral("The logon failed.")});
        return {};
    }
    Result<void> logoff() override {
        events_ << QStringLiteral("logoff");
        if (fails_) return fail({0x80040111, QStringLiteral("The logoff failed.")});
        return {};
    }

  private:
    Events& events_;
    bool fails_;
};

SessionProviderRegistry providersFor(Events& events, bool sessionFails = false) {
    SessionProviderRegistry providers;
    providers.registerProvider(QStringLiteral("MAPI.Session"), [&events, sessionFails] {
        events << QStringLiteral("session created");
        return std::make_unique<RecordingSession>(events, sessionFails);
    });
    return providers;
}

TEST(MessagingLogon, ProfileIsTheServerALineFeedAndTheMailbox) {
    EXPECT_EQ(messagingProfileInfo(QStringLiteral("alice@example.com")),
              messagingServerName() + QStringLiteral("\nalice@example.com"));
}

TEST(MessagingLogon, HoldsTheLibraryWhileTheSessionIsMadeThenLogsOnAndOff) {
    Events events;
    RecordingLoader loader(events, true);
    logonClicked(QStringLiteral("alice@example.com"), loader, providersFor(events));
    EXPECT_EQ(events, (Events{QStringLiteral("load ") + messagingLibraryName(),
                              QStringLiteral("session created"), QStringLiteral("release handle"),
                              QStringLiteral("logon ") + messagingServerName() +
                                  QStringLiteral("\nalice@example.com"),
                              QStringLiteral("logoff"), QStringLiteral("session released")}));
}

TEST(MessagingLogon, EmptyFieldDoesNothingWhileBlanksArePassedOn) {
    Events events;
    RecordingLoader loader(events, true);
    const SessionProviderRegistry providers = providersFor(events);
    logonClicked(QString(), loader, providers);
    EXPECT_TRUE(events.isEmpty());
    logonClicked(QStringLiteral("  "), loader, providers);
    EXPECT_TRUE(
        events.contains(QStringLiteral("logon ") + messagingServerName() + QStringLiteral("\n  ")));
}

TEST(MessagingLogon, EveryFailureIsIgnoredAndTheLaterStepsStillRun) {
    Events events;
    RecordingLoader loader(events, false);
    testMapiLogon(QStringLiteral("alice@example.com"), loader, providersFor(events, true));
    EXPECT_EQ(events, (Events{QStringLiteral("load ") + messagingLibraryName(),
                              QStringLiteral("session created"), QStringLiteral("release zero"),
                              QStringLiteral("logon ") + messagingServerName() +
                                  QStringLiteral("\nalice@example.com"),
                              QStringLiteral("logoff"), QStringLiteral("session released")}));
}

TEST(MessagingLogon, WithoutASessionProviderOnlyTheLibraryIsTriedAndReleased) {
    Events events;
    DynamicLibraryLoader loader;
    RecordingLoader recording(events, false);
    testMapiLogon(QStringLiteral("alice@example.com"), recording, SessionProviderRegistry());
    EXPECT_EQ(events, (Events{QStringLiteral("load ") + messagingLibraryName(),
                              QStringLiteral("release zero")}));
    // The platform's own loader and providers: nothing to see, nothing crashes.
    logonClicked(QStringLiteral("alice@example.com"), loader, platformSessionProviders());
}

}  // namespace
}  // namespace vorlane
