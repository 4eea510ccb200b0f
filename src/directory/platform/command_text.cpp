#include "directory/platform/command_text.h"

namespace vorlane {

Result<CommandText> parseCommandText(const QString& text) {
    const QStringList parts = text.split(u';');
    if (parts.size() != 4) return fail(failures::invalidFilter());

    CommandText command;
    const QString base = parts[0].trimmed();
    if (base.size() < 2 || !base.startsWith(u'<') || !base.endsWith(u'>')) {
        return fail(failures::invalidFilter());
    }
    command.basePath = base.mid(1, base.size() - 2);
    command.filter = parts[1].trimmed();

    for (const QString& name : parts[2].split(u',')) {
        if (name.trimmed().isEmpty()) return fail(failures::invalidFilter());
        command.attributes << name.trimmed();
    }

    const QString scope = parts[3].trimmed();
    if (scope.compare(QStringLiteral("base"), Qt::CaseInsensitive) == 0) {
        command.scope = SearchScope::Base;
    } else if (scope.compare(QStringLiteral("onelevel"), Qt::CaseInsensitive) == 0) {
        command.scope = SearchScope::OneLevel;
    } else if (scope.compare(QStringLiteral("subtree"), Qt::CaseInsensitive) == 0) {
        command.scope = SearchScope::Subtree;
    } else {
        return fail(failures::invalidFilter());
    }
    return command;
}

}  // namespace vorlane
