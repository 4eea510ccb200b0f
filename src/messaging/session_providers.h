#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "common/result.h"

namespace vorlane {

// A messaging session: log on with profile information, log off.
class MessagingSession {
  public:
    virtual ~MessagingSession() = default;
    virtual Result<void> logon(const QString& profileInfo) = 0;
    virtual Result<void> logoff() = 0;
};

// The session providers, by the name that a session is created with ("MAPI.Session").
class SessionProviderRegistry {
  public:
    using Factory = std::function<std::unique_ptr<MessagingSession>()>;

    void registerProvider(const QString& name, Factory factory);
    // A new session of the provider registered under name (any letter case), or null when
    // there is none or it cannot make one.
    std::unique_ptr<MessagingSession> create(const QString& name) const;

  private:
    std::map<QString, Factory> factories_;
};

// The providers that this platform has: none on Linux.
const SessionProviderRegistry& platformSessionProviders();

}  // namespace vorlane
