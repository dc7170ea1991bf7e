#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;

// A reference table as saved in ADO's XML persistence format: the schema's field names, in
// order, and the rows. A field that a row omits is null (absent from the row's hash).
struct Rowset
{
    QStringList fields;
    QList<QHash<QString, QString>> rows;
};

namespace RowsetReader {

// The largest table file read: a court's longest list is a few hundred rows, some kilobytes.
inline constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

// Refuses, with a reason, a file that is missing, unreadable, not a regular file (a pipe, a
// device or a directory is never waited on), larger than MaxFileSize, not well-formed XML or
// without a rowset schema; elements it does not know are skipped. Each refusal is also logged
// (category "zorva.tables") with the path and the reason.
std::optional<Rowset> ReadFile(const QString &path, QString *error);
std::optional<Rowset> Read(QIODevice &device, QString *error);

} // namespace RowsetReader
