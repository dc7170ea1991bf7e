#pragma once

#include <QList>
#include <QStringList>

class QAbstractItemModel;
class QPagedPaintDevice;

// A locator list as the clerk takes it away: CSV for a spreadsheet, a printed or PDF page with
// the list's heading above the table.
namespace LocateReport {

// RFC 4180: the header row, then one record per row, CRLF after each; a field holding a comma,
// a double quote, CR or LF is quoted, its double quotes doubled. A field that begins with =, +, -,
// @, tab or CR is written as text: a leading apostrophe, and quoted.
QString Csv(const QAbstractItemModel &model);
QString Csv(const QStringList &columns, const QList<QStringList> &rows);
// The records alone, as Csv writes them: for a list written a page at a time after its header.
QString CsvRecords(const QList<QStringList> &records);
QString Html(const QString &heading, const QAbstractItemModel &model);
// Lays the page out on the device (a printer, a PDF writer).
void Print(const QString &heading, const QAbstractItemModel &model, QPagedPaintDevice *device);
// Returns false, with *error, when the file cannot be written.
bool WriteCsv(const QString &path, const QAbstractItemModel &model, QString *error);
bool WritePdf(const QString &path, const QString &heading, const QAbstractItemModel &model, QString *error);

} // namespace LocateReport
