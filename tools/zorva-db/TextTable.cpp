#include "TextTable.h"

#include "ConsoleText.h"
#include "LocateCommands.h"

#include <QTextStream>

TextTable::TextTable(QTextStream &out, const QString &heading, const QStringList &columns)
    : m_out(out), m_heading(heading), m_columns(columns)
{
}

void TextTable::PrintHeading()
{
    for (const QString &line : m_heading.split(QLatin1Char('\n')))
        m_out << ConsoleText::Visible(line) << '\n';
}

void TextTable::Add(const QList<QStringList> &rows)
{
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row) {
            QString shown = ConsoleText::Visible(cell);
            // One long holder must not pad every line to its length.
            if (shown.size() > LocateCommands::CellWidth) {
                shown = shown.left(LocateCommands::CellWidth - 3) + QStringLiteral("...");
                m_cut = true;
            }
            cells << shown;
        }
        m_any = true;
        if (!m_widths.isEmpty()) {
            Print(cells);
            continue;
        }
        m_held << cells;
        if (m_held.size() == FirstPage)
            Release();
    }
}

void TextTable::Release()
{
    for (const QString &column : m_columns)
        m_widths << column.size();
    for (const QStringList &cells : m_held)
        for (qsizetype c = 0; c < cells.size(); ++c)
            m_widths[c] = std::max(m_widths[c], cells[c].size());
    PrintHeading();
    Print(m_columns);
    for (const QStringList &cells : std::as_const(m_held))
        Print(cells);
    m_held.clear();
    // The first screen is shown while the rest is read.
    m_out.flush();
}

void TextTable::Print(const QStringList &cells)
{
    QString text;
    for (qsizetype c = 0; c < cells.size(); ++c)
        text += QStringLiteral("  ") + cells[c].leftJustified(m_widths[c]);
    m_out << text.trimmed().prepend(QStringLiteral("  ")) << '\n';
}

void TextTable::End()
{
    if (!m_any) {
        PrintHeading();
        m_out << "  (none)\n";
    }
    else if (m_widths.isEmpty())
        Release();
    if (m_cut)
        m_out << "  (cells longer than " << LocateCommands::CellWidth
              << " characters are cut, ending in \"...\"; --csv gives them whole)\n";
    m_out.flush();
}
