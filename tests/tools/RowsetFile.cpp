#include "RowsetFile.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {
const QString SchemaNs = QStringLiteral("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QString RowsetNs = QStringLiteral("urn:schemas-microsoft-com:rowset");
const QString RowNs = QStringLiteral("#RowsetSchema");
} // namespace

bool ReadRowset(const QString &path, Rowset *rowset, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    QHash<QString, QString> realNames; // attribute name -> field name (rs:name wins)
    bool schema = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.namespaceUri() == SchemaNs && xml.name() == QLatin1String("Schema")) {
            schema = true;
        } else if (xml.namespaceUri() == SchemaNs && xml.name() == QLatin1String("AttributeType")) {
            const QString name = attributes.value(QLatin1String("name")).toString();
            const QString real = attributes.hasAttribute(RowsetNs, QLatin1String("name"))
                                     ? attributes.value(RowsetNs, QLatin1String("name")).toString()
                                     : name;
            realNames.insert(name, real);
            rowset->fields << real;
        } else if (xml.namespaceUri() == RowNs && xml.name() == QLatin1String("row")) {
            QHash<QString, QString> row;
            for (const QXmlStreamAttribute &a : attributes)
                if (a.namespaceUri().isEmpty())
                    row.insert(realNames.value(a.name().toString(), a.name().toString()),
                               a.value().toString());
            rowset->rows << row;
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1 at line %2").arg(xml.errorString()).arg(xml.lineNumber());
        return false;
    }
    if (!schema || rowset->fields.isEmpty()) {
        *error = QStringLiteral("no rowset schema");
        return false;
    }
    return true;
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
