#include "PastedCases.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// A two-digit year is completed as in a typed year cell: above 50 of the last century.
QString WithFullYear(const QString &candidate)
{
    static const QRegularExpression shortYear(QStringLiteral(R"(^\s*([0-9]{2})(?=[\s\-A-Za-z]))"));
    const QRegularExpressionMatch m = shortYear.match(candidate);
    if (!m.hasMatch())
        return candidate;
    const int v = m.captured(1).toInt();
    return QString(candidate).replace(m.capturedStart(1), 2, QString::number(v > 50 ? v + 1900 : v + 2000));
}

} // namespace

PastedCases ReadPastedCases(const QString &text)
{
    PastedCases pasted;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = text.split(lineEnd);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        QString candidate = trimmed;
        if (line.contains(QLatin1Char('\t'))) {
            // A spreadsheet row: year, type and sequence in three cells.
            QStringList cells = line.split(QLatin1Char('\t'));
            for (QString &cell : cells)
                cell = cell.trimmed();
            cells.removeAll(QString());
            candidate = cells.size() == 3 ? cells.join(QLatin1Char(' ')) : QString();
        }
        const std::optional<CaseKey> key = CaseKey::Parse(WithFullYear(candidate));
        if (key)
            pasted.cases.append(*key);
        else
            // The batch window's wording, so that its translations still apply.
            pasted.refused << QCoreApplication::translate("frmFolderBatch", "line %1: %2").arg(i + 1).arg(trimmed);
    }
    return pasted;
}
