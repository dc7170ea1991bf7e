#include "TestWorld.h"
#include "shared/RowsetReader.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

const QByteArray Head = "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' "
                        "xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882' "
                        "xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>";

QByteArray Schema(const QByteArray &attributes)
{
    return "<s:Schema id='RowsetSchema'><s:ElementType name='row' content='eltOnly'>" + attributes +
           "<s:extends type='rs:rowbase'/></s:ElementType></s:Schema>";
}

const QByteArray TwoFields = Schema("<s:AttributeType name='JDGACT' rs:number='1'><s:datatype dt:type='string' "
                                    "dt:maxLength='1'/></s:AttributeType>"
                                    "<s:AttributeType name='JDGCOD' rs:number='2'/>");

std::optional<Rowset> Parse(const QByteArray &xml, QString *error)
{
    QByteArray copy = xml;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return RowsetReader::Read(buffer, error);
}

TEST(RowsetReader, ReadsFieldsAndRows)
{
    const struct
    {
        const char *name;
        QByteArray xml;
        QStringList fields;
        QList<QHash<QString, QString>> rows;
    } cases[] = {
        {"plain",
         Head + TwoFields + "<rs:data><z:row JDGACT='Y' JDGCOD='SMI'/><z:row JDGACT='N' JDGCOD='JON'/></rs:data></xml>",
         {"JDGACT", "JDGCOD"},
         {{{"JDGACT", "Y"}, {"JDGCOD", "SMI"}}, {{"JDGACT", "N"}, {"JDGCOD", "JON"}}}},
        {"omitted field is null, unknown attribute ignored",
         Head + TwoFields + "<rs:data><z:row JDGCOD='GAR' OTHER='x'/><z:row/></rs:data></xml>",
         {"JDGACT", "JDGCOD"},
         {{{"JDGCOD", "GAR"}}, {}}},
        {"rows under rs:insert, unknown elements skipped",
         Head + TwoFields + "<rs:data><x:note xmlns:x='urn:x'>hi</x:note><rs:insert><z:row JDGACT='Y' "
                            "JDGCOD='ALV'/></rs:insert></rs:data></xml>",
         {"JDGACT", "JDGCOD"},
         {{{"JDGACT", "Y"}, {"JDGCOD", "ALV"}}}},
        {"pending changes read as the rows stand: a deleted row gone, an updated row as changed",
         Head + TwoFields + "<rs:data><z:row JDGACT='Y' JDGCOD='SMI'/><rs:delete><z:row JDGACT='Y' "
                            "JDGCOD='OLD'/></rs:delete><rs:update><rs:original><z:row JDGACT='Y' JDGCOD='JON'/>"
                            "</rs:original><z:row JDGACT='N'/></rs:update></rs:data></xml>",
         {"JDGACT", "JDGCOD"},
         {{{"JDGACT", "Y"}, {"JDGCOD", "SMI"}}, {{"JDGACT", "N"}, {"JDGCOD", "JON"}}}},
        {"rs:name for a field whose name is no XML name",
         Head + Schema("<s:AttributeType name='c0' rs:name='Room Code'/>") +
             "<rs:data><z:row c0='4A'/></rs:data></xml>",
         {"Room Code"},
         {{{"Room Code", "4A"}}}},
        {"prefixes are free, namespaces decide",
         "<root xmlns:a='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:b='urn:schemas-microsoft-com:rowset' "
         "xmlns:c='#RowsetSchema'><a:Schema><a:ElementType name='row'><a:AttributeType name='T'/></a:ElementType>"
         "</a:Schema><b:data><c:row T='CF'/><row T='NOT A ROW'/></b:data></root>",
         {"T"},
         {{{"T", "CF"}}}},
        {"entities and non-ASCII",
         Head + Schema(QString::fromUtf8("<s:AttributeType name='NÁME'/>").toUtf8()) +
             QString::fromUtf8("<rs:data><z:row NÁME='O&apos;NEIL &amp; MÜLLER &#233;'/></rs:data></xml>").toUtf8(),
         {QString::fromUtf8("NÁME")},
         {{{QString::fromUtf8("NÁME"), QString::fromUtf8("O'NEIL & MÜLLER é")}}}},
    };
    for (const auto &c : cases) {
        QString error;
        const std::optional<Rowset> rowset = Parse(c.xml, &error);
        ASSERT_TRUE(rowset.has_value()) << c.name << ": " << error.toStdString();
        EXPECT_EQ(rowset->fields, c.fields) << c.name;
        EXPECT_EQ(rowset->rows, c.rows) << c.name;
    }
}

TEST(RowsetReader, HugeAttributeIsRead)
{
    const QByteArray big(1 << 20, 'X');
    QString error;
    const auto rowset = Parse(Head + Schema("<s:AttributeType name='T'/>") + "<rs:data><z:row T='" + big +
                                  "'/></rs:data></xml>",
                              &error);
    ASSERT_TRUE(rowset.has_value()) << error.toStdString();
    EXPECT_EQ(rowset->rows.at(0).value("T").size(), big.size());
}

TEST(RowsetReader, RefusesWhatIsNoRowset)
{
    const struct
    {
        const char *name;
        QByteArray xml;
    } cases[] = {
        {"empty", ""},
        {"not XML", "this is not xml"},
        {"cut short", Head + TwoFields + "<rs:data><z:row JDGCOD='SMI'/>"},
        {"mismatched tags", Head + TwoFields + "<rs:data></xml></rs:data>"},
        {"no schema", Head + "<rs:data><z:row JDGCOD='SMI'/></rs:data></xml>"},
        {"schema without fields", Head + Schema("") + "<rs:data/></xml>"},
        {"wrong namespace", "<xml xmlns:s='urn:other'><s:Schema><s:AttributeType name='A'/></s:Schema></xml>"},
        {"undefined entity", Head + TwoFields + "<rs:data><z:row JDGCOD='&bogus;'/></rs:data></xml>"},
        {"entity expansion bomb",
         "<!DOCTYPE x [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
         "<!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'><!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>"
         "<!ENTITY e '&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;'><!ENTITY f '&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;'>]>" +
             Head + TwoFields + "<rs:data><z:row JDGCOD='&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;'/></rs:data></xml>"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(Parse(c.xml, &error).has_value()) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
}

TEST(RowsetReader, MissingFileIsRefused)
{
    TestWorld world;
    QString error;
    EXPECT_FALSE(RowsetReader::ReadFile(world.Path("NOSUCH.XML"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
