#include "shared/RowsetReader.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

const QByteArray Head = "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' "
                        "xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>";
const QByteArray Judges = "<s:Schema id='RowsetSchema'><s:ElementType name='row'><s:AttributeType name='JDGACT'/>"
                          "<s:AttributeType name='JDGCOD'/></s:ElementType></s:Schema>";

// "fields: rows", each row its present fields as NAME=value, rows separated by " | "; or the error.
std::string Read(const QByteArray &xml)
{
    QByteArray copy = xml;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const std::optional<Rowset> rowset = RowsetReader::Read(buffer, &error);
    if (!rowset)
        return error.isEmpty() ? "refused without a reason" : "refused";
    QStringList rows;
    for (const auto &row : rowset->rows) {
        QStringList cells;
        for (const QString &field : rowset->fields)
            if (row.contains(field))
                cells << field + "=" + row.value(field);
        rows << cells.join(' ');
    }
    return (rowset->fields.join(',') + ": " + rows.join(" | ")).toStdString();
}

// clang-format off
TEST(RowsetReader, RowsAsTheyStand)
{
    const struct { const char *name; QByteArray xml; const char *read; } cases[] = {
        {"plain", Head + Judges + "<rs:data><z:row JDGACT='Y' JDGCOD='SMI'/><z:row JDGACT='N' JDGCOD='JON'/></rs:data></xml>", "JDGACT,JDGCOD: JDGACT=Y JDGCOD=SMI | JDGACT=N JDGCOD=JON"},
        {"an omitted field is null, an unknown one ignored", Head + Judges + "<rs:data><z:row JDGCOD='GAR' X='x'/><z:row/></rs:data></xml>", "JDGACT,JDGCOD: JDGCOD=GAR | "},
        {"rows under rs:insert", Head + Judges + "<rs:data><rs:insert><z:row JDGCOD='ALV'/></rs:insert></rs:data></xml>", "JDGACT,JDGCOD: JDGCOD=ALV"},
        {"a deleted row is gone", Head + Judges + "<rs:data><z:row JDGCOD='SMI'/><rs:delete><z:row JDGCOD='OLD'/></rs:delete></rs:data></xml>", "JDGACT,JDGCOD: JDGCOD=SMI"},
        {"an updated row as changed", Head + Judges + "<rs:data><rs:update><rs:original><z:row JDGACT='Y' JDGCOD='JON'/></rs:original><z:row JDGACT='N'/></rs:update></rs:data></xml>", "JDGACT,JDGCOD: JDGACT=N JDGCOD=JON"},
        {"rs:name names the field", Head + "<s:Schema><s:ElementType><s:AttributeType name='c0' rs:name='Room Code'/></s:ElementType></s:Schema><rs:data><z:row c0='4A'/></rs:data></xml>", "Room Code: Room Code=4A"},
        {"namespaces decide, not prefixes", "<r xmlns:a='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:b='urn:schemas-microsoft-com:rowset' xmlns:c='#RowsetSchema'><a:Schema><a:AttributeType name='T'/></a:Schema><b:data><c:row T='CF'/><row T='NO'/></b:data></r>", "T: T=CF"},
        {"entities", Head + Judges + "<rs:data><z:row JDGCOD='O&apos;NEIL &amp; CO'/></rs:data></xml>", "JDGACT,JDGCOD: JDGCOD=O'NEIL & CO"},
        {"empty", "", "refused"},
        {"cut short", Head + Judges + "<rs:data><z:row JDGCOD='SMI'/>", "refused"},
        {"no schema", Head + "<rs:data><z:row JDGCOD='SMI'/></rs:data></xml>", "refused"},
        {"a schema without fields", Head + "<s:Schema/><rs:data/></xml>", "refused"},
        {"an entity expansion bomb", "<!DOCTYPE x [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'><!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'><!ENTITY e '&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;'>]>" + Head + Judges + "<rs:data><z:row JDGCOD='&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;'/></rs:data></xml>", "refused"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Read(c.xml), c.read) << c.name;
}
// clang-format on

} // namespace
