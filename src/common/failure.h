#pragma once

#include <QString>
#include <cstdint>

namespace vorlane {

// A failed operation: the platform's 32-bit code and its description text.
struct Failure {
    std::uint32_t code = 0;
    QString description;

    friend bool operator==(const Failure&, const Failure&) = default;
};

// The ending of every log line that reports a failure: the code in upper-case hexadecimal
// without prefix or leading zeros, one blank, the description ("8007202F A constraint ...").
QString failureSuffix(const Failure& failure);

// Failures that the directory platform itself raises (not mapped from an LDAP result).
namespace failures {
Failure badPathname();         // 0x80005000
Failure propertyNotFound();    // 0x8000500D
Failure invalidFilter();       // 0x80005014
Failure objectUnbound();       // 0x80005009
Failure typeMismatch();        // 0xD, an object bound as a kind it is not
Failure noCurrentRecord();     // 0x800A0BCD, a record set read at its end
Failure itemNotFound();        // 0x800A0CC1, a record set column that was not requested
Failure objectClosed();        // 0x800A0E78, a closed connection or record set used
}  // namespace failures

}  // namespace vorlane
