#include "directory/embedded/schema.h"

#include <QRandomGenerator>
#include <QSet>

#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

namespace {

const QStringList kContainerParents = {QStringLiteral("domaindns"), QStringLiteral("container"),
                                       QStringLiteral("organizationalunit")};

const ObjectClass kClasses[] = {
    {QStringLiteral("domainDNS"),
     {QStringLiteral("top"), QStringLiteral("domain"), QStringLiteral("domainDNS")},
     QStringLiteral("DC"),
     {QStringLiteral("domaindns")},
     false},
    {QStringLiteral("container"),
     {QStringLiteral("top"), QStringLiteral("container")},
     QStringLiteral("CN"),
     kContainerParents,
     false},
    {QStringLiteral("organizationalUnit"),
     {QStringLiteral("top"), QStringLiteral("organizationalUnit")},
     QStringLiteral("OU"),
     {QStringLiteral("domaindns"), QStringLiteral("organizationalunit")},
     false},
    {QStringLiteral("group"),
     {QStringLiteral("top"), QStringLiteral("group")},
     QStringLiteral("CN"),
     kContainerParents,
     true},
    {QStringLiteral("user"),
     {QStringLiteral("top"), QStringLiteral("person"), QStringLiteral("organizationalPerson"),
      QStringLiteral("user")},
     QStringLiteral("CN"),
     kContainerParents,
     true},
};

const QSet<QString>& knownAttributes() {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const char* name : {"objectclass",
                                 "cn",
                                 "name",
                                 "ou",
                                 "dc",
                                 "distinguishedname",
                                 "objectguid",
                                 "description",
                                 "samaccountname",
                                 "grouptype",
                                 "member",
                                 "memberof",
                                 "mail",
                                 "proxyaddresses",
                                 "legacyexchangedn",
                                 "displayname",
                                 "givenname",
                                 "sn",
                                 "initials",
                                 "userprincipalname",
                                 "info",
                                 "telephonenumber",
                                 "company",
                                 "department",
                                 "title",
                                 "l",
                                 "st",
                                 "co",
                                 "c",
                                 "streetaddress",
                                 "postalcode",
                                 "physicaldeliveryofficename",
                                 "manager",
                                 "managedby",
                                 "wwwhomepage",
                                 "useraccountcontrol",
                                 "instancetype",
                                 "showinadvancedviewonly",
                                 "iscriticalsystemobject",
                                 "systemflags"}) {
            set.insert(QString::fromLatin1(name));
        }
        return set;
    }();
    return names;
}

}  // namespace

const ObjectClass* findObjectClass(const QString& name) {
    for (const ObjectClass& objectClass : kClasses) {
        if (objectClass.name.compare(name, Qt::CaseInsensitive) == 0) return &objectClass;
    }
    return nullptr;
}

const ObjectClass* structuralClassOf(const QStringList& objectClasses) {
    const ObjectClass* best = nullptr;
    for (const QString& name : objectClasses) {
        const ObjectClass* found = findObjectClass(name);
        if (found && (!best || found->chain.size() > best->chain.size())) best = found;
    }
    return best;
}

bool isKnownAttribute(const QString& name, const SchemaOptions& options) {
    const QString lower = name.toLower();
    if (lower == QStringLiteral("mailnickname")) return options.hasMailNickname;
    return knownAttributes().contains(lower);
}

bool isSystemAttribute(const QString& name) {
    const QString lower = name.toLower();
    return lower == QStringLiteral("distinguishedname") || lower == QStringLiteral("objectguid") ||
           lower == QStringLiteral("memberof");
}

Result<void> checkSamAccountName(const QString& value, const QString& entryDn) {
    static const QString kForbidden = QStringLiteral("\"/\\[]:;|=,+*?<>");
    for (const QChar c : value) {
        if (kForbidden.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return fail(failureFromLdapResult(
                ldap_result::kConstraintViolation,
                QStringLiteral("0000202F: samldb: sAMAccountName contains invalid '%1' character")
                    .arg(c)));
        }
    }
    if (value.endsWith(u'.')) {
        return fail(failureFromLdapResult(
            ldap_result::kConstraintViolation,
            QStringLiteral("0000202F: samldb: sAMAccountName ends with '.'")));
    }
    if (value.size() > 256) {
        return fail(failureFromLdapResult(
            ldap_result::kInvalidAttributeSyntax,
            QStringLiteral("0000200B: objectclass_attrs: attribute 'sAMAccountName' on entry "
                           "'%1' contains at least one invalid value!")
                .arg(entryDn)));
    }
    return {};
}

Result<qint32> checkGroupType(const QString& value) {
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (ok && number >= INT32_MIN && number <= UINT32_MAX) {
        const auto bits = static_cast<quint32>(number);
        const quint32 scope = bits & ~0x80000000u;
        if (scope == 2 || scope == 4 || scope == 8) return static_cast<qint32>(bits);
    }
    return fail(
        failureFromLdapResult(ldap_result::kUnwillingToPerform,
                              QStringLiteral("00002035: samldb: Unrecognized account type!")));
}

QString generatedSamAccountName() {
    auto* random = QRandomGenerator::global();
    return QStringLiteral("$%1-%2")
        .arg(random->generate(), 8, 16, QChar(u'0'))
        .arg(random->generate64(), 16, 16, QChar(u'0'))
        .toUpper();
}

}  // namespace vorlane::embedded
