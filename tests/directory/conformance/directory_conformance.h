#pragma once

// The behaviour that every directory backend shares, as one suite of GoogleTest cases.
// A backend instantiates it with its own Backend value:
//
//   INSTANTIATE_TEST_SUITE_P(Embedded, DirectoryConformance,
//                            ::testing::Values(embeddedBackend()), backendName);
//
// The cases use only the Directory interface and the names below the backend's domain.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <ostream>

#include "common/directory.h"

namespace vorlane::conformance {

struct Backend {
    QString name;      // a test-name part: letters and digits
    QString domainDn;  // the domain's distinguished name, e.g. "DC=example,DC=com"
    // Samba's default schema has no mailNickname: mail-enabling then writes none.
    bool hasMailNickname = true;
    // A directory with a newly provisioned domain plus fixtureLdif(domainDn), and nothing that
    // an earlier case wrote.
    std::function<std::unique_ptr<Directory>()> open;
    // Whether the backend can run here (a server backend needs its server); unset: always.
    std::function<bool()> available = {};
};

// fixture.ldif with @BASE_DN@ and @DNS_DOMAIN@ replaced for the domain.
QByteArray fixtureLdif(const QString& domainDn);

// The domain's DNS name: its DC= values joined with ".".
QString dnsDomainName(const QString& domainDn);

inline void PrintTo(const Backend& backend, std::ostream* out) {
    *out << backend.name.toStdString();
}

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param.name.toStdString();
}

class DirectoryConformance : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override;

    Directory& directory() { return *directory_; }
    // relative + "," + the domain's DN (the domain's DN for an empty relative name).
    QString dn(const QString& relative) const;
    QString path(const QString& relative) const { return QStringLiteral("LDAP://") + dn(relative); }
    QString dns() const { return dnsDomainName(GetParam().domainDn); }
    // Runs a query and returns the first column of every row, in order.
    std::vector<QString> column(const QString& commandText);

  private:
    std::unique_ptr<Directory> directory_;
};

}  // namespace vorlane::conformance
