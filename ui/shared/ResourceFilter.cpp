#include "ui/shared/ResourceFilter.h"

#include <QStringList>

QString QtFilterFromResource(const std::string& resourceFilter)
{
    const QStringList fields = QString::fromStdString(resourceFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString description = fields[i].trimmed();
        if (description.isEmpty())
            break; // an empty field ends the list
        QString patterns = fields[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses; keep a description that already shows them.
        filters << (description.contains(QLatin1Char('(')) ? description.section(QLatin1Char('('), 0, 0).trimmed()
                                                           : description)
                       + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

int ResourceFilterIndex(const QString& qtFilter, const QString& selected)
{
    const QStringList filters = qtFilter.split(QStringLiteral(";;"));
    const qsizetype index = filters.indexOf(selected);
    return index < 0 ? 0 : static_cast<int>(index) + 1;
}

QString QtFilterAt(const QString& qtFilter, int index)
{
    const QStringList filters = qtFilter.split(QStringLiteral(";;"));
    return index >= 1 && index <= filters.size() ? filters[index - 1] : QString();
}
