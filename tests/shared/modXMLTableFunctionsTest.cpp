#include "shared/modXMLTableFunctions.h"
#include "ModalAnswerer.h"
#include "QtPrinters.h"
#include "shared/RowsetReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// Padded with trailing blanks to `length` bytes.
QByteArray AtLength(const QByteArray &xml, qint64 length)
{
    return xml + QByteArray(length - xml.size(), ' ');
}

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
        {"as large as a table may be",
         AtLength(Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>", RowsetReader::MaxFileSize),
         "TYPCTP", "TYPCTP", "", "|CV|CR|TR|DR"},
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

// A field the table does not have, shown, keyed or sorted on, reaches the window as a failure.
TEST(XMLTableComboList, AFieldTheTableLacksIsReported)
{
    const struct
    {
        const char *fields, *key, *sort, *missing;
    } cases[] = {
        {"TYPXXX", "TYPCTP", "", "TYPXXX"},
        {"TYPCTP", "TYPKEY", "", "TYPKEY"},
        {"TYPCTP", "TYPCTP", "TYPCTP, TYPXXX DESC", "TYPXXX"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.missing);
        Folder folder;
        const QString path = folder.Write("ARYTYP.XML", Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>");
        ModalAnswerer answerer;
        EXPECT_EQ(XMLTableComboList(path, c.fields, c.key, c.sort), "|");
        ASSERT_EQ(answerer.Seen().size(), 1);
        EXPECT_TRUE(answerer.Seen()[0].text.endsWith(QStringLiteral("Reason: the table has no field \"%1\"").arg(c.missing)))
            << answerer.Seen()[0].text.toStdString();
    }
}

// Should the reader wait on a pipe, a writer comes after two seconds and goes at once: the row
// then fails instead of hanging.
class PipeRelease
{
public:
    explicit PipeRelease(const QString &path) : m_path(QFile::encodeName(path)), m_thread([this] { Run(); })
    {}
    ~PipeRelease()
    {
        m_done = true;
        m_thread.join();
    }
    bool Released() const { return m_released; }

private:
    void Run()
    {
        for (int tick = 0; !m_done; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            // Without a reader waiting, a writer's non-blocking open fails: try again.
            const int fd = tick >= 200 ? ::open(m_path.constData(), O_WRONLY | O_NONBLOCK) : -1;
            if (fd >= 0) {
                m_released = true;
                ::close(fd);
                return;
            }
        }
    }
    QByteArray m_path;
    std::atomic<bool> m_done = false;
    std::atomic<bool> m_released = false;
    std::thread m_thread;
};

// What the code under test logs in the reference tables' category.
QStringList g_logged;
void Collect(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (context.category && QByteArray(context.category) == "zorva.tables")
        g_logged << message;
}

TEST(XMLTableComboList, AFileThatCannotBeReadIsReportedWithItsReason)
{
    enum Kind { File, Missing, Directory, Pipe, Device };
    const QByteArray good = Head + TypeSchema + "<rs:data>" + TypeRows + "</rs:data></xml>";
    const struct
    {
        const char *name;
        Kind kind;
        QByteArray xml;
        QString reason; // after the fixed text, and in the log
    } cases[] = {
        {"missing", Missing, {}, "No such file or directory"},
        {"malformed XML", File, Head + TypeSchema + "<rs:data><z:row TYPCTP='CR'></rs:data></xml>",
         "line 12: Opening and ending tag mismatch."},
        {"no rowset schema", File, Head + "<rs:data><z:row TYPCTP='CR'/></rs:data></xml>",
         "the file holds no rowset schema"},
        {"not XML at all", File, "TYPCTP\nCR\nCV\n", "line 1: Start tag expected."},
        {"empty", File, {}, "line 1: Premature end of document."},
        {"a directory", Directory, {}, "it is a directory"},
        {"a pipe, as a stalled share", Pipe, {}, "it is not a regular file"},
        {"a device", Device, {}, "it is not a regular file"},
        {"one byte too large", File, AtLength(good, RowsetReader::MaxFileSize + 1),
         "it is too large (4194305 bytes; a reference table may have 4194304)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        QString path = QDir(folder.dir.path()).filePath("ARYTYP.XML");
        std::optional<PipeRelease> release;
        if (c.kind == File)
            folder.Write("ARYTYP.XML", c.xml);
        else if (c.kind == Directory)
            ASSERT_TRUE(QDir(folder.dir.path()).mkdir("ARYTYP.XML"));
        else if (c.kind == Pipe) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            release.emplace(path);
        } else if (c.kind == Device)
            path = "/dev/zero";
        g_logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(Collect);
        ModalAnswerer answerer;
        const QString list = XMLTableComboList(path, "TYPCTP", "TYPCTP", "");
        qInstallMessageHandler(previous);
        EXPECT_EQ(list, "|");
        ASSERT_EQ(answerer.Seen().size(), 1);
        const ModalAnswerer::Box &box = answerer.Seen().first();
        EXPECT_EQ(box.text, "There was a problem opening file:  " + path +
                                "\r\nPlease contact technical support.\r\n\r\nReason: " + c.reason);
        EXPECT_EQ(box.title, "ZORVAFolders");
        EXPECT_EQ(box.buttons, QStringList{"OK"});
        EXPECT_EQ(g_logged, QStringList{"Reference table " + path + " cannot be read: " + c.reason});
        if (release) {
            EXPECT_FALSE(release->Released()) << "the load waited on the pipe";
        }
    }
}

} // namespace
