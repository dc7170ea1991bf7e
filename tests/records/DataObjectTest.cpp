#include "TestWorld.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString Insert = QLatin1String(FolderStatements::InsertLoan);

// A statement that works counts the rows it changed (a query none, and holds its rows); one that
// fails raises Error inside the call, naming the court, holds no rows by then and counts nothing.
// The key holds what a case key can (a server's integer column rounds a fraction: SQLite's row).
TEST(DataObject, CountsRowsAndRaisesErrorsAtEndOfRows)
{
    TestWorld world;
    for (int seq = 1; seq <= 3; ++seq)
        world.Lend(2020, "CA", seq, "A");
    // error: a pattern, "" for none
    const struct { QString statement; QVariantList values; int count, rows; const char *error; bool server = true; } cases[] = {
        {"Update MRLCRT.FILCHK Set FILOTO='B' Where FILYER=2020", {}, 3, 0, ""},
        {"Select * From MRLCRT.FILCHK Where FILYER=?", {2020}, 0, 3, ""},
        {"Select * From MRLCRT.NOSUCH", {}, 0, 0, "(?i)nosuch"},
        {"Select abs(-9223372036854775807 + 1 - FILSEQ) From MRLCRT.FILCHK", {}, 0, 0, "integer overflow|out of range"}, // at row 2
        {Insert, {"B", "01012026", "U", 2020, "CA", 1}, 0, 0, "UNIQUE constraint failed|duplicate key value"},
        {Insert, {"B", "01012026", "U", 2009.0, "T", 5.0}, 1, 0, ""}, // the batch binds doubles
        {Insert, {"B", "01012026", "U", 2000.0, "CR", 100000.0}, 1, 0, ""}, // round ones too, never as 1e+05
        {Insert, {QString::fromUtf8("PEÑA"), "01012026", "U", 2009, "T", 6}, 1, 0, ""}, // sent as UTF-8
        {Insert, {"B", "01012026", "U", 2009.7, "CV", 1}, 0, 0, ".", false},
        {Insert, {"B", "01012026", "U", 2009, "CVX", 3}, 0, 0, "."},
        {Insert, {"B", "01012026", "U", 40000, "CV", 5}, 0, 0, "."},
    };
    DataObject data;
    QStringList errors;
    bool rowsDuringError = false;
    QObject::connect(&data, &DataObject::Error, [&](qint32, const QString &text) {
        errors << text;
        rowsDuringError = !data.Eof();
    });
    for (const auto &c : cases) {
        if (!c.server && !TestWorld::OnSQLite())
            continue;
        SCOPED_TRACE(c.statement.toStdString() + QVariant(c.values).toStringList().join(',').toStdString());
        data.Execute(QStringLiteral("Select * From MRLCRT.FILCHK")); // rows that a failure must not leave
        errors.clear();
        EXPECT_EQ(data.Execute(c.statement, c.values.isEmpty() ? DataObject::Parameters() : c.values), c.count);
        EXPECT_EQ(data.RowCount(), c.rows);
        EXPECT_EQ(errors.size(), *c.error ? 1 : 0) << errors.join("; ").toStdString();
        for (const QString &error : errors) {
            EXPECT_TRUE(error.contains(QRegularExpression(c.error))) << error.toStdString();
            EXPECT_TRUE(data.Eof() && !rowsDuringError);
            EXPECT_EQ(data.LastErrorDescription(), error);
            EXPECT_TRUE(error.startsWith("Court database \"" + world.DatabaseUrl() + "\" (")) << "names the court";
        }
    }
}

} // namespace
