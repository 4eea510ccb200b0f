#pragma once

#include <QString>
#include <QStringList>

#include "common/result.h"

namespace vorlane::embedded {

// What the embedded directory's schema holds beyond a plain AD domain. It models a domain
// with Exchange's schema extensions; hasMailNickname = false gives Samba's default schema,
// which refuses writes of mailNickname.
struct SchemaOptions {
    bool hasMailNickname = true;
};

struct ObjectClass {
    QString name;         // as the directory spells it ("organizationalUnit")
    QStringList chain;    // objectClass values as stored: "top", ..., name
    QString namingType;   // the attribute type of its relative name: "CN", "OU", "DC"
    QStringList parents;  // lower-case classes that may hold it
    bool securityPrincipal = false;
};

// A class by name in any letter case, or nullptr.
const ObjectClass* findObjectClass(const QString& name);
// The most specific known class among objectClass values, or nullptr.
const ObjectClass* structuralClassOf(const QStringList& objectClasses);

bool isKnownAttribute(const QString& name, const SchemaOptions& options);

// Attributes that only the directory writes.
bool isSystemAttribute(const QString& name);

// The server's checks of a sAMAccountName value (characters, ending, length).
Result<void> checkSamAccountName(const QString& value, const QString& entryDn);

// groupType: exactly one scope bit (2, 4, 8) with or without the security bit, as a signed or
// unsigned 32-bit number; the stored (signed) form on success.
Result<qint32> checkGroupType(const QString& value);

inline constexpr qint32 kDefaultGroupType = -2147483646;  // global security group

// A generated account name in the server's form: "$" + 8 + "-" + 16 hexadecimal digits.
QString generatedSamAccountName();

}  // namespace vorlane::embedded
