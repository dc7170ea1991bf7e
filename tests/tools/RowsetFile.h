#pragma once

#include "shared/RowsetReader.h"

#include <QStringList>

// The repository's reference tables, read with the product's own reader.
bool ReadRowset(const QString &path, Rowset *rowset, QString *error);

// The values of one field over all rows, optionally only rows where filterField equals filterValue.
QStringList FieldValues(const Rowset &rowset, const QString &field, const QString &filterField = {},
                        const QString &filterValue = {});

QString DataFile(const char *name);
