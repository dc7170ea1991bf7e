#include "RowsetFile.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The demo tables are read by the docket and batch windows: each must be a rowset with the
// fields those windows name, every row filled, no code twice.
TEST(DemoReferenceTables, DeclareTheirFieldsAndFillEveryRow)
{
    const struct
    {
        const char *file;
        QStringList fields;
        const char *key;
        int codeLength;
    } tables[] = {
        {"ARYTYP.XML", {"TYPCTP", "TYPDSC"}, "TYPCTP", 2},
        {"ARYJDG.XML", {"JDGACT", "JDGCOD"}, "JDGCOD", 3},
        {"ARYROM.XML", {"ROMCOD"}, "ROMCOD", 3},
    };
    for (const auto &t : tables) {
        SCOPED_TRACE(t.file);
        Rowset rowset;
        QString error;
        ASSERT_TRUE(ReadRowset(DataFile(t.file), &rowset, &error)) << error.toStdString();
        EXPECT_EQ(rowset.fields, t.fields);
        ASSERT_GE(rowset.rows.size(), 3);
        for (const auto &row : rowset.rows)
            for (const QString &field : t.fields)
                EXPECT_FALSE(row.value(field).trimmed().isEmpty()) << field.toStdString();
        const QStringList codes = FieldValues(rowset, QLatin1String(t.key));
        EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), codes.size()) << "a code is listed twice";
        for (const QString &code : codes) {
            EXPECT_LE(code.size(), t.codeLength) << code.toStdString();
            EXPECT_EQ(code, code.toUpper()) << code.toStdString();
        }
    }
}

TEST(DemoReferenceTables, JudgesAreFlaggedActiveOrNot)
{
    Rowset judges;
    QString error;
    ASSERT_TRUE(ReadRowset(DataFile("ARYJDG.XML"), &judges, &error)) << error.toStdString();
    for (const QString &flag : FieldValues(judges, QStringLiteral("JDGACT")))
        EXPECT_TRUE(flag == QLatin1String("Y") || flag == QLatin1String("N")) << flag.toStdString();
    EXPECT_EQ(
        FieldValues(judges, QStringLiteral("JDGCOD"), QStringLiteral("JDGACT"), QStringLiteral("N")).size(),
        1);
}

// The reader these checks rely on must itself tell a rowset from anything else.
TEST(DemoReferenceTables, ReaderRefusesWhatIsNoRowset)
{
    const struct
    {
        const char *name;
        const char *content;
    } files[] = {
        {"not-xml.XML", "TYPCTP,TYPDSC\nCF,FELONY\n"},
        {"unclosed.XML",
         "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'><s:Schema id='RowsetSchema'>"},
        {"no-schema.XML", "<xml xmlns:z='#RowsetSchema'><z:row TYPCTP='CF'/></xml>"},
    };
    QTemporaryDir dir;
    for (const auto &f : files) {
        QFile file(dir.filePath(QLatin1String(f.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(f.content);
        file.close();
        Rowset rowset;
        QString error;
        EXPECT_FALSE(ReadRowset(file.fileName(), &rowset, &error)) << f.name;
    }
}

} // namespace
