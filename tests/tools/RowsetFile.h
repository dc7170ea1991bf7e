#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The rows of a reference-table file in the rowset XML format, as field name -> value. Reads the
// format independently of the product's reader, so that the demo files are checked against the
// format itself. Returns false with *error for a malformed file or one without a rowset schema.
struct Rowset
{
    QStringList fields; // as declared by the schema
    QList<QHash<QString, QString>> rows;
};

bool ReadRowset(const QString &path, Rowset *rowset, QString *error);

// The values of one field over all rows, optionally only rows where filterField equals filterValue.
QStringList FieldValues(const Rowset &rowset, const QString &field, const QString &filterField = {},
                        const QString &filterValue = {});

QString DataFile(const char *name);
