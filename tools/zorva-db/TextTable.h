#pragma once

#include <QList>
#include <QStringList>

class QTextStream;

// A list printed as aligned text as its rows come: each cell made visible and cut at a width (the
// output then says so), the columns as wide as the first page needs. The first screen is out
// before the rest is read; a later, wider cell moves only its own line.
class TextTable
{
public:
    // The heading's own line breaks stay; its court text is made visible. Nothing is printed
    // before the first page is read: a court that cannot be read leaves standard output empty.
    TextTable(QTextStream &out, const QString &heading, const QStringList &columns);

    void Add(const QList<QStringList> &rows);
    // What is still held, "(none)" for an empty list, the note on cut cells; then the output is
    // flushed.
    void End();

    // The rows held before the widths are chosen.
    static constexpr int FirstPage = 50;

private:
    void Print(const QStringList &cells);
    void PrintHeading();
    void Release();

    QTextStream &m_out;
    QString m_heading;
    QStringList m_columns;
    QList<QStringList> m_held;
    QList<qsizetype> m_widths; // empty until the first page is known
    bool m_any = false;
    bool m_cut = false;
};
