#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "common/result.h"
#include "directory/ldap/ldap_configuration.h"
#include "directory/ldap/ldap_entry.h"
#include "directory/ldap/password_callback.h"
#include "directory/platform/command_text.h"

struct ldap;
struct ldapmsg;
using LDAP = ldap;

namespace vorlane {

struct LdapOptions {
    // A dead or unreachable server fails an operation after about this long.
    std::chrono::milliseconds networkTimeout{10000};
    std::chrono::milliseconds operationTimeout{10000};
    // Asked for the bind DN's password when the configuration asks for a simple bind.
    PasswordCallback askPassword;
    // Entries a page when a search has to be paged.
    int pageSize = 1000;
    // Holds unpaged searches to this many entries (0: no limit) as Windows domain controllers
    // do on their own, so that tests and benchmarks take the paged path on any server.
    int unpagedSizeLimit = 0;
};

// The one connection of the process to the directory server: opened and bound at first use,
// reopened once when it breaks. Every request and its answer count as one round trip.
class LdapConnection {
  public:
    LdapConnection(LdapConfiguration configuration, LdapOptions options);
    ~LdapConnection();
    LdapConnection(const LdapConnection&) = delete;
    LdapConnection& operator=(const LdapConnection&) = delete;

    // Every entry of a search, however many pages it takes; search references are skipped.
    // Empty attributes: all user attributes.
    Result<std::vector<LdapEntry>> search(const QString& base, SearchScope scope,
                                          const QString& filter, const QStringList& attributes);
    // The entry at dn when it matches filter (a base search), else no entry. The whole rootDSE
    // is read once a connection: what it says of the server does not change while we talk.
    Result<std::optional<LdapEntry>> readEntry(const QString& dn, const QString& filter,
                                               const QStringList& attributes);
    Result<void> add(const QString& dn, const std::vector<LdapChange>& changes);
    Result<void> modify(const QString& dn, const std::vector<LdapChange>& changes);
    Result<void> deleteEntry(const QString& dn);

    // Whether the server's schema defines an attribute (read once per connection).
    Result<bool> schemaHasAttribute(const QString& lDAPDisplayName);

    // Requests sent so far, the bind counted as one.
    quint64 roundTrips() const { return roundTrips_; }
    // Whether unpaged searches were found capped, so that searches now go paged at once.
    bool pagesEverySearch() const { return pageEverySearch_; }
    // Closes the connection; the next operation opens a new one.
    void disconnect();

  private:
    struct LdapError {
        int code;
        QString diagnostic;
    };
    template <class T>
    using LdapResult = std::expected<T, LdapError>;

    template <class T>
    Result<T> run(const std::function<LdapResult<T>(LDAP*)>& operation);
    LdapResult<void> open();
    LdapResult<void> bind();
    LdapResult<void> bindSasl();
    LdapResult<void> bindSimple();
    LdapResult<::ldapmsg*> waitFor(int messageId);
    LdapError errorOf(int code) const;

    LdapResult<std::vector<LdapEntry>> searchOnce(LDAP* ld, const QString& base, SearchScope scope,
                                                  const QString& filter,
                                                  const QStringList& attributes, int sizeLimit,
                                                  QByteArray* pageCookie);
    LdapResult<std::vector<LdapEntry>> searchAll(LDAP* ld, const QString& base, SearchScope scope,
                                                 const QString& filter,
                                                 const QStringList& attributes);
    enum class Write { Add, Modify, Delete };
    LdapResult<void> write(LDAP* ld, const QString& dn, const std::vector<LdapChange>& changes,
                           Write kind);

    LdapConfiguration configuration_;
    LdapOptions options_;
    LDAP* ld_ = nullptr;
    quint64 roundTrips_ = 0;
    bool pageEverySearch_ = false;
    bool passwordRefused_ = false;  // the operator cancelled the password prompt
    // What this connection learnt of the server's schema.
    std::vector<std::pair<QString, bool>> schemaAnswers_;
    QString schemaNamingContext_;
    std::optional<LdapEntry> rootDse_;
};

}  // namespace vorlane
