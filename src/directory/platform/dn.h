#pragma once

#include <QString>
#include <vector>

#include "common/result.h"

namespace vorlane {

// One attribute-value pair of a relative name ("CN" and "Sales, East"), value unescaped.
struct DnAva {
    QString type;
    QString value;
};

using Rdn = std::vector<DnAva>;

// A distinguished name parsed by libldap (ldap_str2dn). Names compare without regard to letter case
// through key(); toString() writes the name back in LDAPv3 form with attribute types in upper case,
// as the directory reports names it stores ("cn=Sales\, East" reads "CN=Sales\, East").
class Dn {
  public:
    Dn() = default;
    explicit Dn(std::vector<Rdn> rdns) : rdns_(std::move(rdns)) {}

    // A text that is not a distinguished name fails with the invalid-DN-syntax failure
    // (LDAP 34) carrying diagnostic. The empty text is the empty name (the root).
    static Result<Dn> parse(const QString& text, const QString& diagnostic = {});

    bool isEmpty() const { return rdns_.empty(); }
    std::size_t size() const { return rdns_.size(); }
    const std::vector<Rdn>& rdns() const { return rdns_; }
    const Rdn& firstRdn() const { return rdns_.front(); }

    // The name without its first relative name; the empty name stays empty.
    Dn parent() const;
    // rdn + "," + this name.
    Dn child(const Rdn& rdn) const;
    // Whether this name is other or lies below it.
    bool isWithin(const Dn& other) const;

    QString toString() const;
    // A comparison key: the LDAPv3 form with types and values case-folded.
    QString key() const;
    // The first relative name alone, as written in toString().
    QString firstRdnText() const;

    friend bool operator==(const Dn& a, const Dn& b) { return a.key() == b.key(); }

  private:
    std::vector<Rdn> rdns_;
};

// One value escaped for a DN attribute value (RFC 4514), as the directory writes it.
QString escapeDnValue(const QString& value);

}  // namespace vorlane
