// Rows of the court's own tables are input like anything typed: a hearing row that holds quotes,
// comment markers, NULLs, huge texts or numbers no case key can must change nothing but its own
// folder, or be left out and named. (A typed party's quotes are the docket window's scenarios.)
#include "Court.h"
#include "ModalAnswerer.h"

#include <gtest/gtest.h>

namespace {

struct Row
{
    const char *name;
    const char *hearing; // HRGYER, HRGTYP, HRGSEQ, HRGJDG as SQL literals
    const char *run;     // "docket out": each folder to its hearing's judge
    const char *lent;    // the hearing's folder on loan before, under this type ("" for none)
    QString loans;       // every loan after, as "seq type party"; 2009 CV 1 to 3 are lent before
    int count;           // changes counted, each with its log row
    const char *leftOut; // the reason given, or "" when the row ran
};

const QString Before = QStringLiteral("1 CV OTHER; 2 CV OTHER; 3 CV OTHER");

const Row Rows[] = {
    {"quote type out", "2009, 'C''', 7, 'SMI'", "docket out", "", Before + "; 7 C' SMI", 1, ""},
    {"quote type on loan out", "2009, 'C''', 7, 'SMI'", "docket out", "C'", Before + "; 7 C' SMI", 1, ""},
    {"quote type on loan in", "2009, 'C''', 2, 'SMI'", "docket in", "C'", Before, 1, ""},
    {"comment marker type out", "2009, '--', 1, 'SMI'", "docket out", "", "1 -- SMI; " + Before, 1, ""},
    {"statement in the judge out", "2009, 'CV', 2, 'X'';DELETE--'", "docket out", "", "1 CV OTHER; 2 CV X';DELETE--; 3 CV OTHER", 1, ""},
    {"null year", "NULL, 'CV', 1, 'SMI'", "docket in", "", Before, 0, "the year is missing"},
    {"null judge to lend to", "2009, 'CV', 1, NULL", "docket out", "", Before, 0, "names no judge"},
    {"huge judge to lend to", "2009, 'CV', 1, 'LONG'", "docket out", "", Before, 0, "is longer than 13 characters"},
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

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
    const QString hearing = QString::fromLatin1(row.hearing).replace("'LONG'", "'" + QString(10000, 'N') + "'");
    world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES (" + hearing + ", '1', 20261207, 900)");
    if (*row.lent)
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2009, '%1', %2, 'OTHER', 1052026, 'EARLIER')")
                       .arg(QString(row.lent).replace("'", "''"), hearing.section(',', 2, 2)));

    const Court::Outcome run = Court::Run("CLERK'1", QLatin1String(row.run), 0);
    EXPECT_EQ(run.count, row.count);
    EXPECT_EQ(run.errors, QStringList());
    QStringList loans;
    for (const QVariantList &r : world.Rows("SELECT FILSEQ, FILTYP, FILOTO FROM MRLCRT.FILCHK"))
        loans << r[0].toString() + ' ' + r[1].toString().trimmed() + ' ' + r[2].toString();
    loans.sort();
    EXPECT_EQ(loans.join("; "), row.loans);
    // Each change with its log row, the user as the host gave it.
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGUSR='CLERK''1'").toInt(), row.count);
    EXPECT_EQ(run.leftOut.size(), *row.leftOut ? 1 : 0) << run.leftOut.join("; ").toStdString();
    for (const QString &why : run.leftOut) // a huge value is not copied into the box
        EXPECT_TRUE(why.contains(row.leftOut) && why.size() <= 200) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileHearing, ::testing::ValuesIn(Rows), [](const auto &info) {
    return QString::fromLatin1(info.param.name).replace(' ', '_').toStdString();
});

} // namespace
