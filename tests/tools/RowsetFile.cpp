#include "RowsetFile.h"

bool ReadRowset(const QString &path, Rowset *rowset, QString *error)
{
    std::optional<Rowset> read = RowsetReader::ReadFile(path, error);
    if (read)
        *rowset = std::move(*read);
    return read.has_value();
}

QStringList FieldValues(const Rowset &rowset, const QString &field, const QString &filterField,
                        const QString &filterValue)
{
    QStringList values;
    for (const auto &row : rowset.rows)
        if (filterField.isEmpty() || row.value(filterField) == filterValue)
            values << row.value(field);
    return values;
}

QString DataFile(const char *name)
{
    return QStringLiteral(ZORVA_DATA_DIR "/") + QLatin1String(name);
}
