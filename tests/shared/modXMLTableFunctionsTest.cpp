#include "shared/modXMLTableFunctions.h"
#include "ModalAnswerer.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

using modXMLTableFunctions::XMLTableComboList;

const QByteArray Head = "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\n"
                        "     xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\n"
                        "     xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>\n";

QByteArray Field(const QByteArray &name, int number, const QByteArray &realName = {})
{
    const QByteArray real = realName.isEmpty() ? QByteArray() : " rs:name='" + realName + "'";
    return "<s:AttributeType name='" + name + "'" + real + " rs:number='" + QByteArray::number(number) +
           "' rs:write='true'><s:datatype dt:type='string' dt:maxLength='20'/></s:AttributeType>\n";
}

QByteArray Schema(const QByteArray &fields)
{
    return "<s:Schema id='RowsetSchema'>\n<s:ElementType name='row' content='eltOnly'>\n" + fields +
           "<s:extends type='rs:rowbase'/>\n</s:ElementType>\n</s:Schema>\n";
}

// The case-type table as the court's files have it: code, description, class.
const QByteArray TypeSchema = Schema(Field("TYPCTP", 1) + Field("TYPDSC", 2) + Field("TYPCLS", 3));
const QByteArray TypeRows = "<z:row TYPCTP='CV' TYPDSC='Civil' TYPCLS='0'/>\n"
                            "<z:row TYPCTP='CR' TYPDSC='Criminal' TYPCLS='1'/>\n"
                            "<z:row TYPCTP='TR' TYPDSC='traffic' TYPCLS='10'/>\n"
                            "<z:row TYPCTP='DR' TYPDSC='Domestic' TYPCLS='2'/>\n";

struct Folder
{
    QTemporaryDir dir;
    QString Write(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
};

TEST(XMLTableComboList, ListsTheRowsOfATable)
{
    const struct
    {
        const char *name;
        QByteArray xml;
        const char *fields, *key, *sort, *expected;
    } cases[] = {
        {"in the file's order", Head + TypeSchema + "<rs:data>\n" + TypeRows + "</rs:data>\n</xml>", "TYPCTP",
         "TYPCTP", "", "|CV|CR|TR|DR"},
        {"sorted", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>", "TYPCTP", "TYPCTP",
         "TYPCTP", "|CR|CV|DR|TR"},
        {"sorted descending", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>", "TYPCTP",
         "TYPCTP", "TYPCTP DESC", "|TR|DR|CV|CR"},
        {"sorted ascending, said so", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>",
         "TYPCTP", "TYPCTP", "typctp asc", "|CR|CV|DR|TR"},
        {"numbers sort as numbers", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>", "TYPCTP",
         "", "TYPCLS DESC", "|TR|DR|CR|CV"},
        {"text sorts without regard to case", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>",
         "TYPDSC", "", "TYPDSC", "|Civil|Criminal|Domestic|traffic"},
        {"two sort fields",
         Head + TypeSchema + "<rs:data>" + TypeRows + "<z:row TYPCTP='AA' TYPCLS='1'/></rs:data></xml>",
         "TYPCTP", "", "TYPCLS, TYPCTP DESC", "|CV|CR|AA|DR|TR"},
        {"a missing value sorts first",
         Head + TypeSchema + "<rs:data>" + TypeRows + "<z:row TYPCTP='ZZ'/></rs:data></xml>", "TYPCTP", "",
         "TYPDSC", "|ZZ|CV|CR|DR|TR"},
        {"several fields and a key", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>",
         "TYPDSC,TYPCLS", "TYPCTP", "", "|#CV;Civil\t0|#CR;Criminal\t1|#TR;traffic\t10|#DR;Domestic\t2"},
        {"a field named by rs:name",
         Head + Schema(Field("c0", 1, "Case Type") + Field("TYPDSC", 2)) +
             "<rs:data><z:row c0='CR' TYPDSC='Criminal'/><z:row c0='CV'/></rs:data></xml>",
         "Case Type", "Case Type", "", "|CR|CV"},
        {"rows under rs:insert",
         Head + TypeSchema +
             "<rs:data><z:row TYPCTP='CV'/><rs:insert><z:row TYPCTP='JV'/></rs:insert></rs:data></xml>",
         "TYPCTP", "TYPCTP", "", "|CV|JV"},
        {"a row without the field",
         Head + TypeSchema + "<rs:data><z:row TYPDSC='x'/><z:row TYPCTP='CR'/></rs:data></xml>", "TYPCTP",
         "TYPCTP", "", "||CR"},
        {"no rows", Head + TypeSchema + "<rs:data/></xml>", "TYPCTP", "TYPCTP", "", "|"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        const QString path = folder.Write("ARYTYP.XML", c.xml);
        ModalAnswerer answerer;
        EXPECT_EQ(XMLTableComboList(path, c.fields, c.key, c.sort), c.expected);
        EXPECT_TRUE(answerer.Seen().isEmpty());
    }
}

TEST(XMLTableComboList, AFileThatCannotBeReadIsReportedOnce)
{
    const struct
    {
        const char *name;
        std::optional<QByteArray> xml; // none: no file at all
    } cases[] = {
        {"missing", std::nullopt},
        {"malformed XML", Head + TypeSchema + "<rs:data><z:row TYPCTP='CR'></rs:data></xml>"},
        {"no rowset schema", Head + "<rs:data><z:row TYPCTP='CR'/></rs:data></xml>"},
        {"not XML at all", QByteArray("TYPCTP\nCR\nCV\n")},
        {"empty", QByteArray()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        const QString path =
            c.xml ? folder.Write("ARYTYP.XML", *c.xml) : QDir(folder.dir.path()).filePath("ARYTYP.XML");
        ModalAnswerer answerer;
        EXPECT_EQ(XMLTableComboList(path, "TYPCTP", "TYPCTP", ""), "|");
        ASSERT_EQ(answerer.Seen().size(), 1);
        const ModalAnswerer::Box &box = answerer.Seen().first();
        EXPECT_EQ(box.text,
                  "There was a problem opening file:  " + path + "\r\nPlease contact technical support.");
        EXPECT_EQ(box.title, "ZORVAFolders");
        EXPECT_EQ(box.buttons, QStringList{"OK"});
    }
}

} // namespace
