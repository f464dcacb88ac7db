#include "qt/file_filter.h"

namespace zoedit::qt {

QStringList translateFileFilter(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
    QStringList out;
    // Pairs of description and pattern; a trailing empty part ends the list.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty()) break;
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        patterns.replace(u';', u' ');
        patterns = patterns.simplified();
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        const QString shown = description.isEmpty() ? patterns : description;
        out.append(shown.endsWith(suffix) ? shown : shown + u' ' + suffix);
    }
    return out;
}

}  // namespace zoedit::qt
