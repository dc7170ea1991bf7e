#include "shared/modXMLTableFunctions.h"
#include "ModalAnswerer.h"
#include "QtPrinters.h"
#include "shared/RowsetReader.h"
#include "shared/modXMLTableFunctionsPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace modXMLTableFunctions;
using Platform::PathStyle;
using Outcome = Platform::ProgramFilesRead::Outcome;

// clang-format off
TEST(XMLTableFunctions, ClientTablesFolderFromWhatTheSystemGave)
{
    const struct { PathStyle style; Outcome outcome; const char *read, *clientTables; } cases[] = {
        {PathStyle::Windows, Outcome::ValueRead, "D:\\Apps", "D:\\Apps\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Windows, Outcome::ValueRead, "%ProgramFiles%", "C:\\Program Files\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Windows, Outcome::ValueNotRead, "", "C:\\Program Files\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        // No key: a folder at the root of the current drive.
        {PathStyle::Windows, Outcome::KeyNotOpened, "", "\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Posix, Outcome::ValueRead, "/srv/apps/", "/srv/apps/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"},
        {PathStyle::Posix, Outcome::ValueNotRead, "", "/opt/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"},
    };
    for (const auto &c : cases) {
        const QString programFiles = Platform::ProgramFilesFolder({c.outcome, QString::fromLatin1(c.read)}, c.style);
        EXPECT_EQ(ClientTablesFolder(ProductFolder(programFiles, c.style), c.style), QLatin1String(c.clientTables)) << c.read;
    }
}

const QByteArray Head = "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>"
                        "<s:Schema id='RowsetSchema'><s:ElementType name='row'><s:AttributeType name='TYPCTP'/><s:AttributeType name='TYPDSC'/>"
                        "<s:AttributeType name='TYPCLS'/></s:ElementType></s:Schema>\n";
const QByteArray Types = Head + "<rs:data><z:row TYPCTP='CV' TYPDSC='Civil' TYPCLS='0'/><z:row TYPCTP='CR' TYPDSC='Criminal' TYPCLS='1'/>"
                                "<z:row TYPCTP='TR' TYPDSC='traffic' TYPCLS='10'/><z:row TYPCTP='DR' TYPDSC='Domestic' TYPCLS='2'/></rs:data></xml>";
const QString Problem = "ZORVAFolders: There was a problem opening file:  %1\r\nPlease contact technical support.\r\n\r\nReason: %2 [OK]";

// What the window gets for a table file: the list, and the message box shown (none when empty).
TEST(XMLTableFunctions, ComboListOrTheReasonItFailed)
{
    const struct { const char *name; QByteArray xml; const char *fields, *key, *sort, *list, *reason; } cases[] = {
        {"in the file's order", Types, "TYPCTP", "TYPCTP", "", "|CV|CR|TR|DR", ""},
        {"sorted descending", Types, "TYPCTP", "TYPCTP", "TYPCTP DESC", "|TR|DR|CV|CR", ""},
        {"numbers sort as numbers", Types, "TYPCTP", "", "TYPCLS DESC", "|TR|DR|CR|CV", ""},
        {"text sorts without regard to case", Types, "TYPDSC", "", "typdsc asc", "|Civil|Criminal|Domestic|traffic", ""},
        {"several fields and another key", Types, "TYPDSC,TYPCLS", "TYPCTP", "", "|#CV;Civil\t0|#CR;Criminal\t1|#TR;traffic\t10|#DR;Domestic\t2", ""},
        {"a row without the field", Head + "<rs:data><z:row TYPDSC='x'/><z:row TYPCTP='CR'/></rs:data></xml>", "TYPCTP", "TYPCTP", "", "||CR", ""},
        {"no rows", Head + "<rs:data/></xml>", "TYPCTP", "TYPCTP", "", "|", ""},
        {"a field the table lacks", Types, "TYPXXX", "TYPCTP", "", "|", "the table has no field \"TYPXXX\""},
        {"a sort field the table lacks", Types, "TYPCTP", "TYPCTP", "TYPCTP, TYPXXX DESC", "|", "the table has no field \"TYPXXX\""},
        {"missing", QByteArray(), "TYPCTP", "TYPCTP", "", "|", "No such file or directory"},
        {"malformed", Head + "<rs:data><z:row TYPCTP='CR'></rs:data></xml>", "TYPCTP", "TYPCTP", "", "|", "line 2: Opening and ending tag mismatch."},
        {"no rowset schema", "<xml xmlns:rs='urn:schemas-microsoft-com:rowset'><rs:data/></xml>", "TYPCTP", "TYPCTP", "", "|", "the file holds no rowset schema"},
        {"a directory", "dir", "TYPCTP", "TYPCTP", "", "|", "it is a directory"},
        {"a device", "/dev/zero", "TYPCTP", "TYPCTP", "", "|", "it is not a regular file"},
        {"one byte too large", Types + QByteArray(RowsetReader::MaxFileSize + 1 - Types.size(), ' '), "TYPCTP", "TYPCTP", "", "|", "it is too large (4194305 bytes; a reference table may have 4194304)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString path = dir.filePath("ARYTYP.XML");
        if (c.xml == "dir")
            ASSERT_TRUE(QDir(dir.path()).mkdir("ARYTYP.XML"));
        else if (c.xml.startsWith("/dev/"))
            path = QString::fromLatin1(c.xml);
        else if (!c.xml.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.xml);
        }
        ModalAnswerer answerer;
        EXPECT_EQ(XMLTableComboList(path, c.fields, c.key, c.sort), c.list);
        EXPECT_EQ(answerer.Lines(), *c.reason ? QStringList{Problem.arg(path, c.reason)} : QStringList{});
    }
}
// clang-format on

} // namespace
