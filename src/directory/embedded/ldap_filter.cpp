#include "directory/embedded/ldap_filter.h"

#include <QByteArray>
#include <optional>

#include "directory/platform/dn.h"
#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

namespace {

constexpr int kFilterError = -7;  // libldap's client-side code, as the provider reports it

class Parser {
  public:
    explicit Parser(QByteArray text) : text_(std::move(text)) {}

    std::optional<Filter> parseWhole() {
        if (text_.isEmpty()) return std::nullopt;
        std::optional<Filter> filter;
        if (text_[0] != '(') {
            filter = parseItem(text_.size());
        } else {
            filter = parseFilter();
        }
        if (!filter || pos_ != text_.size()) return std::nullopt;
        return filter;
    }

  private:
    bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

    // "(" filtercomp ")", or a filter inside one more pair of parentheses.
    std::optional<Filter> parseFilter() {
        if (!at('(')) return std::nullopt;
        ++pos_;
        std::optional<Filter> filter;
        if (at('(')) {
            filter = parseFilter();
        } else if (at('&') || at('|')) {
            Filter list;
            list.kind = at('&') ? Filter::Kind::And : Filter::Kind::Or;
            ++pos_;
            while (at('(')) {
                auto child = parseFilter();
                if (!child) return std::nullopt;
                list.children.push_back(std::move(*child));
            }
            filter = std::move(list);
        } else if (at('!')) {
            ++pos_;
            auto child = parseFilter();
            if (!child) return std::nullopt;
            Filter negation;
            negation.kind = Filter::Kind::Not;
            negation.children.push_back(std::move(*child));
            filter = std::move(negation);
        } else {
            const qsizetype close = findItemEnd();
            if (close < 0) return std::nullopt;
            filter = parseItem(close);
        }
        if (!filter || !at(')')) return std::nullopt;
        ++pos_;
        return filter;
    }

    // The end of a simple item: the first ")" (values carry theirs escaped).
    qsizetype findItemEnd() const {
        for (qsizetype i = pos_; i < text_.size(); ++i) {
            if (text_[i] == '(') return -1;
            if (text_[i] == ')') return i;
        }
        return -1;
    }

    static bool isAttributeChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == ';' || c == '_';
    }

    static std::optional<QString> attributeName(const QByteArray& text) {
        if (text.isEmpty()) return std::nullopt;
        for (char c : text) {
            if (!isAttributeChar(c)) return std::nullopt;
        }
        if (!isAttributeChar(text[0]) || text[0] == '-' || text[0] == ';') return std::nullopt;
        return QString::fromLatin1(text.split(';').front()).toLower();
    }

    // Unescapes an assertion value: "\" and two hex digits stand for an octet.
    static std::optional<QString> unescape(const QByteArray& text) {
        QByteArray bytes;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\\') {
                if (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])) {
                    return std::nullopt;
                }
                const int octet = text.mid(i + 1, 2).toInt(nullptr, 16);
                bytes += static_cast<char>(octet);
                i += 2;
            } else if (c == '(' || c == ')' || c == '\0') {
                return std::nullopt;
            } else {
                bytes += c;
            }
        }
        return QString::fromUtf8(bytes);
    }

    static bool isHex(char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    // attr op value, from pos_ up to end (exclusive); leaves pos_ at end.
    std::optional<Filter> parseItem(qsizetype end) {
        const QByteArray item = text_.mid(pos_, end - pos_);
        pos_ = end;
        const qsizetype eq = item.indexOf('=');
        if (eq <= 0) return std::nullopt;
        Filter filter;
        QByteArray left = item.left(eq);
        const QByteArray right = item.mid(eq + 1);
        const char op = left.back();
        if (op == '~' || op == '>' || op == '<') {
            left.chop(1);
            filter.kind = op == '~'   ? Filter::Kind::Approx
                          : op == '>' ? Filter::Kind::GreaterOrEqual
                                      : Filter::Kind::LessOrEqual;
        } else if (op == ':') {
            return parseExtensible(left.chopped(1), right);
        } else if (right == "*") {
            filter.kind = Filter::Kind::Present;
        } else if (right.contains('*')) {
            return parseSubstrings(left, right);
        } else {
            filter.kind = Filter::Kind::Equality;
        }
        auto name = attributeName(left);
        if (!name) return std::nullopt;
        filter.attribute = *name;
        if (filter.kind != Filter::Kind::Present) {
            auto value = unescape(right);
            if (!value) return std::nullopt;
            filter.value = *value;
        }
        return filter;
    }

    static std::optional<Filter> parseSubstrings(const QByteArray& left, const QByteArray& right) {
        auto name = attributeName(left);
        if (!name) return std::nullopt;
        Filter filter;
        filter.kind = Filter::Kind::Substrings;
        filter.attribute = *name;
        const QList<QByteArray> parts = right.split('*');
        for (qsizetype i = 0; i < parts.size(); ++i) {
            auto value = unescape(parts[i]);
            if (!value) return std::nullopt;
            if (i == 0) {
                filter.initial = *value;
            } else if (i == parts.size() - 1) {
                filter.final = *value;
            } else if (parts[i].isEmpty()) {
                return std::nullopt;  // "**"
            } else {
                filter.any << *value;
            }
        }
        return filter;
    }

    // attr [":dn"] [":" rule] ":=" value, or [":dn"] ":" rule ":=" value.
    static std::optional<Filter> parseExtensible(const QByteArray& left, const QByteArray& right) {
        Filter filter;
        filter.kind = Filter::Kind::Extensible;
        const QList<QByteArray> parts = left.split(':');
        if (!parts.front().isEmpty()) {
            auto name = attributeName(parts.front());
            if (!name) return std::nullopt;
            filter.attribute = *name;
        }
        for (qsizetype i = 1; i < parts.size(); ++i) {
            if (parts[i].compare("dn", Qt::CaseInsensitive) == 0 && i == 1) continue;
            if (parts[i].isEmpty() || !filter.matchingRule.isEmpty()) return std::nullopt;
            filter.matchingRule = QString::fromLatin1(parts[i]);
        }
        if (filter.attribute.isEmpty() && filter.matchingRule.isEmpty()) return std::nullopt;
        auto value = unescape(right);
        if (!value) return std::nullopt;
        filter.value = *value;
        return filter;
    }

    QByteArray text_;
    qsizetype pos_ = 0;
};

std::optional<qint64> asInteger(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QString folded(const QString& text) {
    return text.toCaseFolded();
}

bool valueEquals(const QString& attribute, const QString& stored, const QString& asserted) {
    if (isDnValuedAttribute(attribute)) {
        auto a = Dn::parse(stored);
        auto b = Dn::parse(asserted);
        if (a && b) return a->key() == b->key();
    }
    const auto a = asInteger(stored);
    const auto b = asInteger(asserted);
    if (a && b) return *a == *b;
    return folded(stored) == folded(asserted);
}

int compareValues(const QString& stored, const QString& asserted) {
    const auto a = asInteger(stored);
    const auto b = asInteger(asserted);
    if (a && b) return *a < *b ? -1 : (*a > *b ? 1 : 0);
    return folded(stored).compare(folded(asserted));
}

bool substringMatches(const Filter& filter, const QString& stored) {
    const QString value = folded(stored);
    qsizetype pos = 0;
    const QString initial = folded(filter.initial);
    if (!value.startsWith(initial)) return false;
    pos = initial.size();
    for (const QString& part : filter.any) {
        const qsizetype found = value.indexOf(folded(part), pos);
        if (found < 0) return false;
        pos = found + part.size();
    }
    const QString final = folded(filter.final);
    return value.size() - pos >= final.size() && value.endsWith(final);
}

bool bitwiseMatches(const QString& rule, const QString& stored, const QString& asserted) {
    const auto a = asInteger(stored);
    const auto b = asInteger(asserted);
    if (!a || !b) return false;
    const quint32 bits = static_cast<quint32>(*a);
    const quint32 mask = static_cast<quint32>(*b);
    if (rule == QStringLiteral("1.2.840.113556.1.4.803")) return (bits & mask) == mask;
    return (bits & mask) != 0;
}

}  // namespace

bool isDnValuedAttribute(const QString& lowerName) {
    return lowerName == QStringLiteral("member") || lowerName == QStringLiteral("memberof") ||
           lowerName == QStringLiteral("distinguishedname") ||
           lowerName == QStringLiteral("manager") || lowerName == QStringLiteral("managedby");
}

Result<Filter> parseFilter(const QString& text) {
    Parser parser(text.toUtf8());
    auto filter = parser.parseWhole();
    if (!filter) return fail(failureFromLdapResult(kFilterError));
    return std::move(*filter);
}

bool matches(const Filter& filter, const AttributeValues& values) {
    switch (filter.kind) {
        case Filter::Kind::And:
            for (const Filter& child : filter.children) {
                if (!matches(child, values)) return false;
            }
            return true;
        case Filter::Kind::Or:
            for (const Filter& child : filter.children) {
                if (matches(child, values)) return true;
            }
            return false;
        case Filter::Kind::Not:
            return !matches(filter.children.front(), values);
        default:
            break;
    }
    const QStringList* stored = values(filter.attribute);
    if (!stored || stored->isEmpty()) return false;
    for (const QString& value : *stored) {
        switch (filter.kind) {
            case Filter::Kind::Present:
                return true;
            case Filter::Kind::Equality:
            case Filter::Kind::Approx:
                if (valueEquals(filter.attribute, value, filter.value)) return true;
                break;
            case Filter::Kind::GreaterOrEqual:
                if (compareValues(value, filter.value) >= 0) return true;
                break;
            case Filter::Kind::LessOrEqual:
                if (compareValues(value, filter.value) <= 0) return true;
                break;
            case Filter::Kind::Substrings:
                if (substringMatches(filter, value)) return true;
                break;
            case Filter::Kind::Extensible:
                if (filter.matchingRule.startsWith(QStringLiteral("1.2.840.113556.1.4.80"))) {
                    if (bitwiseMatches(filter.matchingRule, value, filter.value)) return true;
                } else if (filter.matchingRule.isEmpty() &&
                           valueEquals(filter.attribute, value, filter.value)) {
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return false;
}

}  // namespace vorlane::embedded
