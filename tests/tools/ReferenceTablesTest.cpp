#include "RowsetFile.h"

#include <QSet>
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

} // namespace
