// Rows of the court's own tables are input like anything typed: a hearing row that holds quotes,
// comment markers, semicolons, NULLs, huge texts or numbers no case key can must change nothing
// but its own folder, or be left out and named. Runs on every backend.
#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "forms/folder_batch/BatchLookup.h"
#include "forms/folder_batch/BatchRun.h"
#include "forms/folder_docket/DocketRun.h"
#include "records/DataObject.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// What stands in HRGDTA's columns, as SQL literals (the schema refuses what no server column holds).
struct Hearing
{
    const char *year, *type, *sequence, *judge;
};

struct Row
{
    const char *name;
    Hearing hearing;
    const char *action;
    const char *judge;   // the selection's judge ("*ALL": each folder to its hearing's judge)
    const char *lent;    // the hearing's own folder on loan before, under this type ("" for none)
    // FILCHK after, as "seq type holder" lines (the court starts with loans 1 to 3 of 2009 CV).
    QStringList loans;
    int count;           // changes counted, each with its log row
    const char *leftOut; // the reason given, or "" when the row ran
};

const QString Day = QStringLiteral("20261207");
const QStringList Before{"1 CV OTHER", "2 CV OTHER", "3 CV OTHER"};

const Row Rows[] = {
    {"quote type out", {"2009", "'C'''", "7", "'SMI'"}, "*OUT", "*ALL", "", Before + QStringList{"7 C' SMI"}, 1, ""},
    {"quote type on loan out", {"2009", "'C'''", "7", "'SMI'"}, "*OUT", "*ALL", "C'", Before + QStringList{"7 C' SMI"}, 1, ""},
    {"quote type on loan in", {"2009", "'C'''", "2", "'SMI'"}, "*IN", "*ALL", "C'", Before, 1, ""},
    {"lone quote type not on loan in", {"2009", "''''", "2", "'SMI'"}, "*IN", "*ALL", "", Before, 0, ""},
    {"comment marker type out", {"2009", "'--'", "1", "'SMI'"}, "*OUT", "*ALL", "", Before + QStringList{"1 -- SMI"}, 1, ""},
    {"semicolon type on loan in", {"2009", "';'", "1", "'SMI'"}, "*IN", "*ALL", ";", Before, 1, ""},
    {"statement in the judge out", {"2009", "'CV'", "2", "'X'';DELETE--'"}, "*OUT", "*ALL", "",
     {"1 CV OTHER", "2 CV X';DELETE--", "3 CV OTHER"}, 1, ""},
    {"statement in the typed party out", {"2009", "'CV'", "3", "'SMI'"}, "*OUT", "SMI", "",
     {"1 CV OTHER", "2 CV OTHER", "3 CV O'NEIL;--"}, 1, ""},
    {"null year", {"NULL", "'CV'", "1", "'SMI'"}, "*IN", "*ALL", "", Before, 0, "the year is missing"},
    {"null type", {"2009", "NULL", "1", "'SMI'"}, "*IN", "*ALL", "", Before, 0, "the type is missing"},
    {"null sequence", {"2009", "'CV'", "NULL", "'SMI'"}, "*OUT", "*ALL", "", Before, 0, "the sequence is missing"},
    {"year past 16 bits", {"99999", "'CV'", "1", "'SMI'"}, "*IN", "*ALL", "", Before, 0, "the year 99999 is not a year"},
    {"sequence zero", {"2009", "'CV'", "0", "'SMI'"}, "*OUT", "*ALL", "", Before, 0, "the sequence 0 is not a case sequence"},
    {"blank type", {"2009", "'  '", "1", "'SMI'"}, "*IN", "*ALL", "", Before, 0, "the type is missing"},
    {"null judge to lend to", {"2009", "'CV'", "1", "NULL"}, "*OUT", "*ALL", "", Before, 0, "names no judge"},
    {"huge judge to lend to", {"2009", "'CV'", "1", "LONG"}, "*OUT", "*ALL", "", Before, 0, "is longer than 13 characters"},
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

QStringList Sorted(QStringList lines)
{
    lines.sort();
    return lines;
}

class HostileHearing : public ::testing::TestWithParam<Row>
{
protected:
    TestWorld world;
    ModalAnswerer answerer;
};

TEST_P(HostileHearing, ChangesOnlyItsOwnFolderOrIsLeftOut)
{
    const Row &row = GetParam();
    for (int sequence = 1; sequence <= 3; ++sequence)
        world.Lend(2009, "CV", sequence, "OTHER");
    const QString judge = QString::fromLatin1(row.hearing.judge) == "LONG" ? "'" + QString(10000, 'N') + "'"
                                                                           : QString::fromLatin1(row.hearing.judge);
    world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (%1,%2,%3,%4,'1',%5,900)")
                   .arg(row.hearing.year, row.hearing.type, row.hearing.sequence, judge, Day));
    if (*row.lent)
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR)"
                                  " VALUES (2009, '%1', %2, 'OTHER', 1052026, 'EARLIER')")
                       .arg(QString(row.lent).replace("'", "''"), row.hearing.sequence));

    DocketSelection selection;
    selection.hearingDate = QDate(2026, 12, 7);
    selection.action = row.action;
    selection.judge = row.judge;
    selection.party = "O'NEIL;--";
    DocketRun run(selection, "CLERK'1", true, false);
    QStringList errors;
    for (DataObject *data : {run.adoHRGDTA(), run.adoMASTER(), run.adoFILCHK()})
        QObject::connect(data, &DataObject::Error, [&errors](qint32, const QString &d) { errors << d; });
    const int count = run.Run();

    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    QStringList loans;
    for (const QVariantList &r : world.Rows("SELECT FILSEQ, FILTYP, FILOTO FROM MRLCRT.FILCHK"))
        loans << r[0].toString() + ' ' + r[1].toString().trimmed() + ' ' + r[2].toString();
    EXPECT_EQ(Sorted(loans), Sorted(row.loans));
    EXPECT_EQ(count, row.count);
    // Each change with its log row, the user as the host gave it.
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGUSR='CLERK''1'").toInt(), row.count);
    if (*row.leftOut == 0) {
        EXPECT_TRUE(run.LeftOut().isEmpty()) << run.LeftOut().join("; ").toStdString();
    } else {
        ASSERT_EQ(run.LeftOut().size(), 1);
        EXPECT_TRUE(run.LeftOut()[0].contains(row.leftOut)) << run.LeftOut()[0].toStdString();
        EXPECT_LE(run.LeftOut()[0].size(), 200); // a huge value is not copied into the box
    }
    EXPECT_TRUE(answerer.Seen().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileHearing, ::testing::ValuesIn(Rows), [](const auto &info) {
    return QString::fromLatin1(info.param.name).replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
});

// The batch run binds every value: a type with a quote or a comment marker reaches only its row.
TEST(HostileBatch, TypesWithQuotesChangeOnlyTheirOwnRows)
{
    TestWorld world;
    ModalAnswerer answerer;
    world.Lend(2009, "CV", 1, "OTHER");
    DataObject folders;
    QStringList errors;
    QObject::connect(&folders, &DataObject::Error, [&errors](qint32, const QString &d) { errors << d; });
    BatchRun run(&folders, {"*OUT", "O'NEIL;--", "CLERK1", true, false});
    const QList<BatchRun::Row> rows{{2009, "C'", 1, ""}, {2009, "--", 1, ""}, {2009, "CV", 1, "OTHER"}};
    EXPECT_EQ(run.Run(rows, {}), 2);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    QStringList loans;
    for (const QVariantList &r : world.Rows("SELECT FILTYP, FILOTO FROM MRLCRT.FILCHK"))
        loans << r[0].toString().trimmed() + ' ' + r[1].toString();
    EXPECT_EQ(Sorted(loans), Sorted({"C' O'NEIL;--", "-- O'NEIL;--", "CV OTHER"}));
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG").toInt(), 2);
}

// Master rows are read, never written: quotes, comment markers and a 10,000-character name reach
// the title as they are, and the lookup changes nothing. (CV is a criminal type code.)
TEST(HostileBatch, MasterRowsAreShownAsTheyStand)
{
    TestWorld world;
    ModalAnswerer answerer;
    const QString huge(10000, 'N');
    world.Exec("INSERT INTO MRLCRT.MASCRM VALUES (2009,'CV',5,'DF',1,'1','O''NEIL; DROP TABLE X--','')");
    world.Exec("INSERT INTO MRLCRT.MASCRM VALUES (2009,'CV',5,'PL',1,'1','" + huge + "','')");
    world.Lend(2009, "CV", 5, "OTHER");
    DataObject master;
    QStringList errors;
    QObject::connect(&master, &DataObject::Error, [&errors](qint32, const QString &d) { errors << d; });
    const BatchLookup::Result found = BatchLookup(&master).Lookup(2009, "CV", "5", 5);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.title, huge.left(35) + " VS O'NEIL; DROP TABLE X--"); // the style's name outputs hold 35
    EXPECT_EQ(found.holder, "OTHER");
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 1);
}

} // namespace
