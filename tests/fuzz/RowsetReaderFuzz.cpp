// RowsetReader reads the reference tables from the Program Files folder: files that the
// component did not write and cannot trust.
#include "FuzzCheck.h"
#include "shared/RowsetReader.h"

#include <QBuffer>
#include <QSet>
#include <QXmlStreamReader>

namespace {

bool WellFormed(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&buffer);
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: a read past the fuzzer's bytes is then one that AddressSanitizer sees.
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const std::optional<Rowset> rowset = RowsetReader::Read(buffer, &error);
    if (!rowset) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }

    // A rowset comes only from a well-formed file with a schema, and its rows hold only the
    // schema's fields.
    FUZZ_CHECK(WellFormed(bytes));
    FUZZ_CHECK(!rowset->fields.isEmpty());
    const QSet<QString> fields(rowset->fields.cbegin(), rowset->fields.cend());
    for (const QHash<QString, QString> &row : rowset->rows) {
        FUZZ_CHECK(row.size() <= fields.size());
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            FUZZ_CHECK(fields.contains(it.key()));
    }
    return 0;
}
