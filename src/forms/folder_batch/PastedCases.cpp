#include "PastedCases.h"

#include "util/modVisibleText.h"

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
        // A spreadsheet row's cells (year, type, sequence) are parted by tabs, which are blanks.
        // A line with a NUL or an invisible or direction-changing character in it is refused
        // whole, and shown escaped: a box would cut it at the NUL, or show it turned around.
        const std::optional<CaseKey> key =
            modVisibleText::HasHidden(trimmed) ? std::nullopt : CaseKey::Parse(WithFullYear(trimmed));
        if (key)
            pasted.cases.append(*key);
        else
            // The batch window's wording, so that its translations still apply.
            pasted.refused << QCoreApplication::translate("frmFolderBatch", "line %1: %2")
                                  .arg(i + 1)
                                  .arg(modVisibleText::Visible(trimmed));
    }
    return pasted;
}
