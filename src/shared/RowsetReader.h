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

// Refuses, with a reason, a file that is missing, unreadable, not well-formed XML or without a
// rowset schema; elements it does not know are skipped.
std::optional<Rowset> ReadFile(const QString &path, QString *error);
std::optional<Rowset> Read(QIODevice &device, QString *error);

} // namespace RowsetReader
