#include "directory/ldap/ldap_text.h"

namespace vorlane {

namespace {
// Whether text is one parenthesized item: "(" at 0 whose ")" is the last character.
bool isOneGroup(QStringView text) {
    if (text.size() < 2 || text.front() != u'(' || text.back() != u')') return false;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
        } else if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')' && --depth == 0) {
            return i == text.size() - 1;
        }
    }
    return false;
}
}  // namespace

QString withoutRedundantParentheses(const QString& filter) {
    QStringView text = QStringView(filter).trimmed();
    while (isOneGroup(text) && isOneGroup(text.mid(1, text.size() - 2).trimmed())) {
        text = text.mid(1, text.size() - 2).trimmed();
    }
    return text.toString();
}

}  // namespace vorlane
