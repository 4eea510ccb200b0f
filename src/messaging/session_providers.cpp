#include "messaging/session_providers.h"

namespace vorlane {

void SessionProviderRegistry::registerProvider(const QString& name, Factory factory) {
    factories_[name.toLower()] = std::move(factory);
}

std::unique_ptr<MessagingSession> SessionProviderRegistry::create(const QString& name) const {
    const auto found = factories_.find(name.toLower());
    if (found == factories_.end() || !found->second) return nullptr;
    return found->second();
}

const SessionProviderRegistry& platformSessionProviders() {
    static const SessionProviderRegistry none;
    return none;
}

}  // namespace vorlane
