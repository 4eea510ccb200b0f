#include "directory/platform/ldap_failure.h"

#include <cstdint>

namespace vorlane {

namespace {

struct Mapping {
    int result;
    std::uint32_t code;
    const char* text;
};

constexpr Mapping kMappings[] = {
    {1, 0x80072020, "An operations error occurred."},
    {2, 0x80072021, "A protocol error occurred."},
    {3, 0x80072022, "The time limit for this request was exceeded."},
    {4, 0x80072023, "The size limit for this request was exceeded."},
    {8, 0x80072028, "A more secure authentication method is required for this server."},
    {10, 0x8007202B, "A referral was returned from the server."},
    {16, 0x8007200A, "The specified directory service attribute or value does not exist."},
    {17, 0x8007200C, "The attribute type specified to the directory service is not defined."},
    {19, 0x8007202F, "A constraint violation occurred."},
    {20, 0x8007200D, "The specified directory service attribute or value already exists."},
    {21, 0x8007200B, "The attribute syntax specified to the directory service is invalid."},
    {32, 0x80072030, "There is no such object on the server."},
    {34, 0x80072032, "An invalid dn syntax has been specified."},
    {48, 0x80072029, "Inappropriate authentication."},
    {49, 0x8007052E, "The user name or password is incorrect."},
    {50, 0x80070005, "Access is denied."},
    {51, 0x8007200E, "The directory service is busy."},
    {52, 0x8007200F, "The directory service is unavailable."},
    {53, 0x80072035, "The server is unwilling to process the request."},
    {54, 0x80072036, "A loop has been detected."},
    {64, 0x80072037, "There is a naming violation."},
    {65, 0x80072014,
     "The requested operation did not satisfy one or more constraints associated with the class "
     "of the object."},
    {66, 0x80072015, "The directory service can perform the requested operation only on a leaf object."},
    {67, 0x80072016,
     "The directory service cannot perform the requested operation on the RDN attribute of an "
     "object."},
    {68, 0x80071392, "The object already exists."},
    {69, 0x80072017,
     "The directory service detected an attempt to modify the object class of an object."},
    {80, 0x8007001F, "A device attached to the system is not functioning."},
    {81, 0x8007203A, "The server is not operational."},
    {82, 0x8007203B, "A local error has occurred."},
    {85, 0x800705B4, "This operation returned because the timeout period expired."},
    {87, 0x8007203E, "The search filter cannot be recognized."},
    {89, 0x8007203F, "One or more parameters are illegal."},
    {90, 0x80070008, "Not enough memory resources are available to process this command."},
    {91, 0x800704C9, "The remote computer refused the network connection."},
};

// libldap's client-side codes are negative; the platform numbers them 81 upwards.
int windowsResultNumber(int resultCode) {
    switch (resultCode) {
        case -1: return 81;   // LDAP_SERVER_DOWN
        case -2: return 82;   // LDAP_LOCAL_ERROR
        case -5: return 85;   // LDAP_TIMEOUT
        case -7: return 87;   // LDAP_FILTER_ERROR
        case -9: return 89;   // LDAP_PARAM_ERROR
        case -10: return 90;  // LDAP_NO_MEMORY
        case -11: return 91;  // LDAP_CONNECT_ERROR
        default: return resultCode;
    }
}

}  // namespace

Failure failureFromLdapResult(int resultCode, const QString& diagnostic) {
    const int number = windowsResultNumber(resultCode);
    Failure failure{0x80004005, QStringLiteral("Unspecified error")};
    for (const Mapping& mapping : kMappings) {
        if (mapping.result == number) {
            failure = {mapping.code, QString::fromUtf8(mapping.text)};
            break;
        }
    }
    if (!diagnostic.isEmpty()) failure.description += QStringLiteral(" (") + diagnostic + u')';
    return failure;
}

}  // namespace vorlane
