#include "directory/platform/ads_path.h"

namespace vorlane {

namespace {
const QString kPrefix = QStringLiteral("LDAP://");

// Position of the first "/" not preceded by a backslash, or -1.
qsizetype firstUnescapedSlash(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
        } else if (text[i] == u'/') {
            return i;
        }
    }
    return -1;
}
}  // namespace

Result<AdsPath> parseAdsPath(const QString& path) {
    if (!path.startsWith(kPrefix)) return fail(failures::badPathname());
    QString rest = path.mid(kPrefix.size());
    AdsPath parsed;
    if (const qsizetype slash = firstUnescapedSlash(rest); slash >= 0) {
        parsed.server = rest.left(slash);
        rest = rest.mid(slash + 1);
        if (parsed.server.isEmpty() || parsed.server.contains(u'=')) {
            return fail(failures::badPathname());
        }
    }
    if (rest.isEmpty()) return fail(failures::badPathname());
    if (rest.compare(QStringLiteral("rootDSE"), Qt::CaseInsensitive) == 0) {
        parsed.rootDse = true;
        return parsed;
    }
    parsed.dn = rest.replace(QStringLiteral("\\/"), QStringLiteral("/"));
    return parsed;
}

QString formatAdsPath(const QString& server, const QString& dn) {
    QString escaped = dn;
    escaped.replace(u'/', QStringLiteral("\\/"));
    return server.isEmpty() ? kPrefix + escaped : kPrefix + server + u'/' + escaped;
}

}  // namespace vorlane
