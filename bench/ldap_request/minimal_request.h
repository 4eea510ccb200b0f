#pragma once

#include <QString>
#include <chrono>
#include <vector>

struct ldap;

namespace vorlane::bench {

// The least a libldap program does for a "Create Group" with a member: nine requests on one
// connection, each awaited before the next. The baseline of the request benchmark.
class MinimalRequest {
  public:
    // Binds with the client configuration (SASL GSSAPI with the ticket); false on failure.
    bool connect(const QString& uri, const QString& saslMech);
    ~MinimalRequest();

    // Creates group `name` in container (a DN), mail-enables it and adds the user whose mail is
    // userMail. False when a step fails.
    bool run(const QString& container, const QString& name, const QString& userMail);

    // A one-level search of base returning every entry unpaged (pageSize 0) or in pages;
    // the number of entries, or -1.
    int level(const QString& base, int pageSize);

    // The times of each of the nine steps (0 to 8) in every run so far.
    const std::vector<double>& stepTimes(std::size_t step) const { return stepTimes_[step]; }

  private:
    void lap(std::size_t step);

    ::ldap* ld_ = nullptr;
    std::vector<std::vector<double>> stepTimes_;
    std::chrono::steady_clock::time_point lapStart_;
};

}  // namespace vorlane::bench
