#pragma once

#include <QString>

#include "common/failure.h"

namespace vorlane {

// The failure that the directory platform reports for an LDAP result code: its 0x8007xxxx
// code and text, followed by the server's diagnostic message in parentheses when there is one.
// Accepts the protocol's result codes and libldap's negative client codes (-1 server down,
// -7 filter error, ...), which map like their Windows numbers (81, 87, ...).
Failure failureFromLdapResult(int resultCode, const QString& diagnostic = {});

// LDAP result codes that the backends produce themselves.
namespace ldap_result {
inline constexpr int kOperationsError = 1;
inline constexpr int kSizeLimitExceeded = 4;
inline constexpr int kNoSuchAttribute = 16;
inline constexpr int kUndefinedAttributeType = 17;
inline constexpr int kConstraintViolation = 19;
inline constexpr int kAttributeOrValueExists = 20;
inline constexpr int kInvalidAttributeSyntax = 21;
inline constexpr int kNoSuchObject = 32;
inline constexpr int kInvalidDnSyntax = 34;
inline constexpr int kInvalidCredentials = 49;
inline constexpr int kUnwillingToPerform = 53;
inline constexpr int kNamingViolation = 64;
inline constexpr int kObjectClassViolation = 65;
inline constexpr int kNotAllowedOnNonLeaf = 66;
inline constexpr int kEntryAlreadyExists = 68;
inline constexpr int kServerDown = 81;
inline constexpr int kTimeout = 85;
inline constexpr int kFilterError = 87;
}  // namespace ldap_result

}  // namespace vorlane
