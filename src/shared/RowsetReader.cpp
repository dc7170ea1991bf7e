#include "RowsetReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QXmlStreamReader>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_LOGGING_CATEGORY(lcTables, "zorva.tables")

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

QString NotRegular(bool directory)
{
    return directory ? QStringLiteral("it is a directory") : QStringLiteral("it is not a regular file");
}

QString TooLarge(qint64 size)
{
    return QStringLiteral("it is too large (%1 bytes; a reference table may have %2)")
        .arg(size)
        .arg(MaxFileSize);
}

// A pipe (what a stalled network share can look like) or a device would hold the window's load
// for as long as nobody writes: such a file is refused before it is opened for reading, and the
// open itself never waits, in case the path was swapped for one in between (the size cap then
// stops a device, and a pipe reads as empty).
bool OpenRegular(QFile &file, const QString &path, QString *error)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0) {
        *error = qt_error_string(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = NotRegular(S_ISDIR(info.st_mode));
        return false;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = qt_error_string(errno);
        return false;
    }
    // Cannot fail on a descriptor just opened; the file closes it.
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    return true;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = NotRegular(info.isDir());
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    return true;
#endif
}

std::optional<Rowset> ReadRegularFile(const QString &path, QString *error)
{
    QFile file;
    if (!OpenRegular(file, path, error))
        return std::nullopt;
    if (file.size() > MaxFileSize) {
        *error = TooLarge(file.size());
        return std::nullopt;
    }
    // The cap holds for a file that grows while it is read, too.
    QByteArray content = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (content.size() > MaxFileSize) {
        *error = TooLarge(content.size());
        return std::nullopt;
    }
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    return Read(buffer, error);
}

} // namespace

std::optional<Rowset> ReadFile(const QString &path, QString *error)
{
    std::optional<Rowset> rowset = ReadRegularFile(path, error);
    if (!rowset)
        qCWarning(lcTables, "Reference table %s cannot be read: %s", qPrintable(path), qPrintable(*error));
    return rowset;
}

std::optional<Rowset> Read(QIODevice &device, QString *error)
{
    QXmlStreamReader xml(&device);
    QList<Field> fields;
    bool haveSchema = false;
    Rowset rowset;
    // A recordset saved with pending changes is read as its rows stand: a deleted row is gone, an
    // updated row is its original with the changed fields over it.
    int inDelete = 0, inUpdate = 0, inOriginal = 0;
    QHash<QString, QString> original;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        const QStringView ns = xml.namespaceUri();
        const QStringView local = xml.name();
        const int step = token == QXmlStreamReader::StartElement ? 1 : token == QXmlStreamReader::EndElement ? -1 : 0;
        if (step != 0 && ns == RowsetNs) {
            if (local == QLatin1String("delete"))
                inDelete += step;
            else if (local == QLatin1String("update") && (inUpdate += step) > 0)
                original.clear();
            else if (local == QLatin1String("original"))
                inOriginal += step;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (ns == SchemaNs && local == QLatin1String("Schema")) {
            haveSchema = true;
        } else if (ns == SchemaNs && local == QLatin1String("AttributeType")) {
            const QXmlStreamAttributes a = xml.attributes();
            const QString attribute = a.value(QLatin1String("name")).toString();
            const QString real = a.value(RowsetNs, QLatin1String("name")).toString();
            fields.append({attribute, real.isEmpty() ? attribute : real});
        } else if (ns == RowNs && local == QLatin1String("row")) {
            QHash<QString, QString> row = inUpdate > 0 && inOriginal == 0 ? original : QHash<QString, QString>();
            const QXmlStreamAttributes a = xml.attributes();
            for (const Field &f : fields) {
                if (a.hasAttribute(f.attribute))
                    row.insert(f.name, a.value(f.attribute).toString());
            }
            if (inOriginal > 0)
                original = row;
            else if (inDelete == 0)
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
