#include "picker/dn_helpers.h"

namespace vorlane {

namespace {

// Positions are held in 16 bits: a character found further on counts as not found.
constexpr qsizetype kLastCountedPosition = 32767;

// 1-based position of the first c, or 0.
qsizetype firstPosition(const QString& text, QChar c) {
    const qsizetype position = text.indexOf(c) + 1;
    return position > kLastCountedPosition ? 0 : position;
}

}  // namespace

QString StripLdapPrefix(const QString& path) {
    QString result = path;
    // QString::remove finds every occurrence in the original text before removing any.
    return result.remove(QStringLiteral("LDAP://"), Qt::CaseInsensitive);
}

QString GetFirstRdnValue(const QString& dn) {
    const qsizetype comma = firstPosition(dn, u',');
    const qsizetype equals = firstPosition(dn, u'=');
    if (equals > 0 && comma > equals) return dn.mid(equals, comma - equals - 1);
    return {};
}

QString DnToDottedName(const QString& dn) {
    QString result = dn;
    result.remove(QStringLiteral("CN="), Qt::CaseSensitive);
    result.remove(QStringLiteral("DC="), Qt::CaseSensitive);
    result.remove(QStringLiteral("OU="), Qt::CaseSensitive);
    result.replace(u',', u'.');
    return result;
}

}  // namespace vorlane
