#include "LocateReport.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace LocateReport {
namespace {

// A cell a spreadsheet would read as a formula (= + - @ first; tab or CR first, which some
// programs skip before looking) gets a leading apostrophe and quotes, as the spreadsheet
// programs document: the holder "=HYPERLINK(...)" is then shown as typed, never run.
bool Formula(const QString &text)
{
    static const QString first = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && first.contains(text.front());
}

QString Field(const QString &text)
{
    if (Formula(text))
        return QStringLiteral("\"'") + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString Cell(const QAbstractItemModel &model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

QString Header(const QAbstractItemModel &model, int column)
{
    return model.headerData(column, Qt::Horizontal).toString();
}

} // namespace

QString CsvRecords(const QList<QStringList> &records)
{
    QString csv;
    for (const QStringList &record : records) {
        QStringList fields;
        for (const QString &text : record)
            fields << Field(text);
        csv += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return csv;
}

QString Csv(const QStringList &columns, const QList<QStringList> &rows)
{
    return CsvRecords({columns}) + CsvRecords(rows);
}

QString Csv(const QAbstractItemModel &model)
{
    QStringList columns;
    for (int c = 0; c < model.columnCount(); ++c)
        columns << Header(model, c);
    QList<QStringList> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << Cell(model, r, c);
        rows << cells;
    }
    return Csv(columns, rows);
}

QString Html(const QString &heading, const QAbstractItemModel &model)
{
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>")
                       .arg(heading.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));
    for (int c = 0; c < model.columnCount(); ++c)
        html += QStringLiteral("<th>%1</th>").arg(Header(model, c).toHtmlEscaped());
    html += QLatin1String("</tr>");
    for (int r = 0; r < model.rowCount(); ++r) {
        html += QLatin1String("<tr>");
        for (int c = 0; c < model.columnCount(); ++c)
            html += QStringLiteral("<td>%1</td>").arg(Cell(model, r, c).toHtmlEscaped());
        html += QLatin1String("</tr>");
    }
    if (model.rowCount() == 0)
        html += QStringLiteral("<tr><td colspan=\"%1\">(none)</td></tr>").arg(model.columnCount());
    return html + QLatin1String("</table>");
}

void Print(const QString &heading, const QAbstractItemModel &model, QPagedPaintDevice *device)
{
    QTextDocument document;
    document.setHtml(Html(heading, model));
    document.print(device);
}

bool WriteCsv(const QString &path, const QAbstractItemModel &model, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Csv(model).toUtf8()) < 0 || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool WritePdf(const QString &path, const QString &heading, const QAbstractItemModel &model, QString *error)
{
    // Through a save file: the system's own words when it cannot be written, and a file that was
    // there before is replaced only by a whole new one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setTitle(heading.section(QLatin1Char('\n'), 0, 0));
        Print(heading, model, &writer);
    }
    if (file.error() == QFileDevice::NoError && file.size() > 0 && file.commit())
        return true;
    *error = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace LocateReport
