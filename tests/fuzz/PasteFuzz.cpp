// The batch window's paste: whatever the clipboard holds becomes cases and refused lines.
#include "FuzzCheck.h"
#include "forms/folder_batch/PastedCases.h"
#include "util/modVisibleText.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The lines as a clerk counts them, split here a character at a time rather than as the reader
// splits them: CR LF, LF and CR each end one.
QStringList Lines(const QString &text)
{
    QStringList lines{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            lines.last() += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        lines.append(QString());
    }
    return lines;
}

// A case number as typing takes it: a leading two-digit year, ended by a blank, a dash or the
// type's first letter, is completed (above 50 in the 1900s, else the 2000s).
std::optional<CaseKey> ParseTyped(const QString &text)
{
    static const QRegularExpression shortYear(QStringLiteral(R"(^\s*[0-9]{2}[\s\-A-Za-z])"));
    if (!shortYear.match(text).hasMatch())
        return CaseKey::Parse(text);
    const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("[0-9]")));
    const int year = text.mid(at, 2).toInt();
    return CaseKey::Parse(text.left(at) + QString::number(year > 50 ? 1900 + year : 2000 + year) + text.mid(at + 2));
}

// What one non-blank line should give: a spreadsheet row's tabs are blanks like any other; a
// line with a NUL or a hidden or direction-changing character in it is no case at all.
std::optional<CaseKey> Expected(const QString &line)
{
    return modVisibleText::HasHidden(line.trimmed()) ? std::nullopt : ParseTyped(line.trimmed());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FromFuzzer(data, size);
    const PastedCases pasted = ReadPastedCases(text);

    // Every non-blank line is either the next case or the next refusal, in the order pasted;
    // the refusal names the line by its number and shows it trimmed, every hidden character escaped.
    const QStringList lines = Lines(text);
    qsizetype cases = 0;
    qsizetype refused = 0;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        if (line.trimmed().isEmpty())
            continue;
        if (const std::optional<CaseKey> key = Expected(line)) {
            FUZZ_CHECK(cases < pasted.cases.size());
            FUZZ_CHECK(pasted.cases.at(cases) == *key);
            CheckKey(pasted.cases.at(cases));
            ++cases;
        } else {
            FUZZ_CHECK(refused < pasted.refused.size());
            FUZZ_CHECK(pasted.refused.at(refused) == QStringLiteral("line %1: ").arg(n + 1) + modVisibleText::Visible(line.trimmed()));
            ++refused;
        }
    }
    FUZZ_CHECK(cases == pasted.cases.size());
    FUZZ_CHECK(refused == pasted.refused.size());
    return 0;
}
