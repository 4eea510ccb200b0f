#pragma once

#include <QString>

#include "common/directory.h"

namespace vorlane::testing {

// The entries that the console's tests work on, added through the directory interface under
// the domain DC=example,DC=com, so that any backend can hold them:
//   OU=Provisioning
//     CN=Alice Adams      user, mail alice.adams@provisioning.example
//     CN=Bob Brown        user, mail shared@provisioning.example
//     CN=Carol Cole       user, mail shared@provisioning.example
//     CN=Sales Team       global distribution group, described, Alice a member
//     CN=Plain Group      global distribution group without description, no members
//   CN=Domain Admins,OU=Provisioning   group that a crafted name must not reach
namespace provisioning_domain {

inline const QString kDomain = QStringLiteral("DC=example,DC=com");
inline const QString kContainer = QStringLiteral("OU=Provisioning,DC=example,DC=com");
inline const QString kAliceDn = QStringLiteral("CN=Alice Adams,OU=Provisioning,DC=example,DC=com");
inline const QString kAlicePath = QStringLiteral("LDAP://") + kAliceDn;
inline const QString kAliceMail = QStringLiteral("alice.adams@provisioning.example");
inline const QString kBobPath =
    QStringLiteral("LDAP://CN=Bob Brown,OU=Provisioning,DC=example,DC=com");
inline const QString kSharedMail = QStringLiteral("shared@provisioning.example");
inline const QString kSalesTeamPath =
    QStringLiteral("LDAP://CN=Sales Team,OU=Provisioning,DC=example,DC=com");
inline const QString kPlainGroupPath =
    QStringLiteral("LDAP://CN=Plain Group,OU=Provisioning,DC=example,DC=com");
inline const QString kDomainAdminsPath =
    QStringLiteral("LDAP://CN=Domain Admins,OU=Provisioning,DC=example,DC=com");

// Adds the entries; the first failure ends it.
Result<void> seed(Directory& directory);

}  // namespace provisioning_domain

}  // namespace vorlane::testing
