#include "RowsetReader.h"

#include <QFile>
#include <QXmlStreamReader>

namespace RowsetReader {
namespace {

const QString SchemaNs = QStringLiteral("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QString RowsetNs = QStringLiteral("urn:schemas-microsoft-com:rowset");
const QString RowNs = QStringLiteral("#RowsetSchema");

// A field whose name is no valid XML name is written as name='c0' rs:name='Real Name'.
struct Field
{
    QString attribute;
    QString name;
};

} // namespace

std::optional<Rowset> ReadFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    return Read(file, error);
}

std::optional<Rowset> Read(QIODevice &device, QString *error)
{
    QXmlStreamReader xml(&device);
    QList<Field> fields;
    bool haveSchema = false;
    Rowset rowset;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView ns = xml.namespaceUri();
        const QStringView local = xml.name();
        if (ns == SchemaNs && local == QLatin1String("Schema")) {
            haveSchema = true;
        } else if (ns == SchemaNs && local == QLatin1String("AttributeType")) {
            const QXmlStreamAttributes a = xml.attributes();
            const QString attribute = a.value(QLatin1String("name")).toString();
            const QString real = a.value(RowsetNs, QLatin1String("name")).toString();
            fields.append({attribute, real.isEmpty() ? attribute : real});
        } else if (ns == RowNs && local == QLatin1String("row")) {
            QHash<QString, QString> row;
            const QXmlStreamAttributes a = xml.attributes();
            for (const Field &f : fields) {
                if (a.hasAttribute(f.attribute))
                    row.insert(f.name, a.value(f.attribute).toString());
            }
            rowset.rows.append(row);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
        return std::nullopt;
    }
    if (!haveSchema || fields.isEmpty()) {
        *error = QStringLiteral("the file holds no rowset schema");
        return std::nullopt;
    }
    for (const Field &f : fields)
        rowset.fields.append(f.name);
    return rowset;
}

} // namespace RowsetReader
