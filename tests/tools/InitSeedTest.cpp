#include "RowsetFile.h"
#include "ZorvaDb.h"

#include "records/Connection.h"
#include "util/modTypeOfCase.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QStringList Column(const TestWorld &world, const QString &query)
{
    QStringList values;
    for (const QVariantList &row : world.Rows(query))
        values << row.value(0).toString();
    return values;
}

qint64 Count(const TestWorld &world, const QString &query)
{
    return world.Scalar(query).toLongLong();
}

TEST(ZorvaDbInit, CreatesEveryTableOnANewFile)
{
    TestWorld world;
    Connection::CloseAll();
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(world.DatabaseFile() + QLatin1String(suffix));
    ZorvaDb zorva(world);

    const ZorvaDb::Result r = zorva.Run({QStringLiteral("init"), world.DatabaseUrl()});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_TRUE(r.err.isEmpty()) << r;

    const struct
    {
        const char *table;
        QStringList columns;
    } tables[] = {
        {"FILCHK", {"FILYER", "FILTYP", "FILSEQ", "FILOTO", "FILUDT", "FILUSR"}},
        {"HRGDTA", {"HRGYER", "HRGTYP", "HRGSEQ", "HRGJDG", "HRGROM", "HRGHDT", "HRGHTM"}},
        {"MASCRM", {"MASYER", "MASTYP", "MASSEQ", "MASLTP", "MASLIT", "MASBRN", "MASNAM", "MASATY"}},
        {"MASCIV", {"MASYER", "MASTYP", "MASSEQ", "MASLTP", "MASLIT", "MASBRN", "MASNAM", "MASATY"}},
        {"FILLOG", {"LOGTSP", "LOGYER", "LOGTYP", "LOGSEQ", "LOGAUT", "LOGUSR", "LOGOTO", "LOGOUT"}},
    };
    for (const auto &t : tables) {
        const QStringList columns =
            Column(world, QStringLiteral("SELECT name FROM pragma_table_info('%1', 'MRLCRT')").arg(t.table));
        for (const QString &column : t.columns)
            EXPECT_TRUE(columns.contains(column)) << t.table << "." << column.toStdString();
    }
}

TEST(ZorvaDbInit, RunAgainKeepsTablesAndRows)
{
    TestWorld world;
    ZorvaDb zorva(world);
    world.Exec(
        QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2009, 'CV', 123, 'SMI', 1052026, 'CLERK1')"));
    for (int run = 0; run < 2; ++run) {
        const ZorvaDb::Result r = zorva.Run({QStringLiteral("init"), world.DatabaseUrl()});
        ASSERT_EQ(r.exitCode, 0) << r;
    }
    EXPECT_EQ(world.Rows(QStringLiteral("SELECT FILOTO, FILUDT, FILUSR FROM MRLCRT.FILCHK")),
              (QList<QVariantList>{{QStringLiteral("SMI"), 1052026, QStringLiteral("CLERK1")}}));
}

class SeededCourt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        summary = zorva.Run({QStringLiteral("seed-demo"), world.DatabaseUrl()});
        ASSERT_EQ(summary.exitCode, 0) << summary;
    }

    // Every row of every table the demo writes, in a fixed order.
    QList<QVariantList> Everything() const
    {
        QList<QVariantList> all;
        for (const char *table : {"MASCRM", "MASCIV", "HRGDTA", "FILCHK", "FILLOG"})
            all += world.Rows(
                QStringLiteral("SELECT '%1', * FROM MRLCRT.%1 ORDER BY 2, 3, 4, 5, 6, 7").arg(table));
        return all;
    }

    TestWorld world;
    ZorvaDb zorva{world};
    ZorvaDb::Result summary;
};

const QString AllCases = QStringLiteral("SELECT DISTINCT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCRM UNION "
                                        "SELECT DISTINCT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCIV");

TEST_F(SeededCourt, SummaryCountsWhatWasWritten)
{
    static const QRegularExpression counts(
        QStringLiteral(R"((\d+) cases, (\d+) litigants, (\d+) hearings, (\d+) loans, (\d+) log entries)"));
    const QRegularExpressionMatch m = counts.match(summary.out);
    ASSERT_TRUE(m.hasMatch()) << summary;
    EXPECT_EQ(m.captured(1).toLongLong(),
              Count(world, QStringLiteral("SELECT count(*) FROM (%1)").arg(AllCases)));
    EXPECT_EQ(m.captured(2).toLongLong(),
              Count(world, QStringLiteral("SELECT (SELECT count(*) FROM MRLCRT.MASCRM) + "
                                          "(SELECT count(*) FROM MRLCRT.MASCIV)")));
    EXPECT_EQ(m.captured(3).toLongLong(), Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA")));
    EXPECT_EQ(m.captured(4).toLongLong(), Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK")));
    EXPECT_EQ(m.captured(5).toLongLong(), Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.FILLOG")));
    EXPECT_GE(m.captured(1).toInt(), 200);
    EXPECT_LE(m.captured(1).toInt(), 600);
}

TEST_F(SeededCourt, EachMasterHoldsOnlyItsClass)
{
    const struct
    {
        const char *table;
        qint16 caseClass;
    } masters[] = {{"MASCRM", 1}, {"MASCIV", 0}};
    for (const auto &m : masters) {
        const QStringList types =
            Column(world, QStringLiteral("SELECT DISTINCT MASTYP FROM MRLCRT.%1").arg(m.table));
        EXPECT_GE(types.size(), 3) << m.table;
        for (const QString &type : types)
            EXPECT_EQ(modTypeOfCase::TypeOfCase(type), m.caseClass) << m.table << " " << type.toStdString();
        EXPECT_GE(
            Count(world, QStringLiteral("SELECT count(*) FROM (SELECT DISTINCT MASYER, MASTYP, MASSEQ FROM "
                                        "MRLCRT.%1)")
                             .arg(m.table)),
            50)
            << m.table;
    }
    // CV belongs to the criminal class here, whatever its letters suggest.
    EXPECT_GT(Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.MASCRM WHERE MASTYP = 'CV'")), 0);
}

TEST_F(SeededCourt, EveryCaseHasPlaintiffAndDefendantNumberedFromOne)
{
    for (const char *table : {"MASCRM", "MASCIV"}) {
        SCOPED_TRACE(table);
        // Per case and litigant type: numbers 1..n without gaps, one branch for the whole case.
        const QList<QVariantList> groups = world.Rows(
            QStringLiteral("SELECT MASYER, MASTYP, MASSEQ, MASLTP, count(*), min(MASLIT), max(MASLIT), "
                           "count(DISTINCT MASLIT) FROM MRLCRT.%1 GROUP BY 1, 2, 3, 4")
                .arg(table));
        QHash<QString, QSet<QString>> typesOfCase;
        for (const QVariantList &g : groups) {
            const QString key =
                QStringLiteral("%1-%2-%3").arg(g[0].toString(), g[1].toString(), g[2].toString());
            typesOfCase[key] << g[3].toString();
            EXPECT_EQ(g[5].toInt(), 1) << key.toStdString();
            EXPECT_EQ(g[6].toInt(), g[4].toInt()) << key.toStdString();
            EXPECT_EQ(g[7].toInt(), g[4].toInt()) << key.toStdString();
        }
        for (auto it = typesOfCase.cbegin(); it != typesOfCase.cend(); ++it)
            EXPECT_EQ(it.value(), (QSet<QString>{QStringLiteral("PL"), QStringLiteral("DF")}))
                << it.key().toStdString();

        EXPECT_EQ(Count(world, QStringLiteral(
                                   "SELECT count(*) FROM (SELECT 1 FROM MRLCRT.%1 GROUP BY MASYER, MASTYP, "
                                   "MASSEQ HAVING count(DISTINCT MASBRN) <> 1)")
                                   .arg(table)),
                  0);
        for (const QVariantList &row :
             world.Rows(QStringLiteral("SELECT MASNAM, MASATY, MASBRN FROM MRLCRT.%1").arg(table))) {
            const QString name = row[0].toString(), attorney = row[1].toString(), branch = row[2].toString();
            EXPECT_FALSE(name.trimmed().isEmpty());
            EXPECT_LE(name.size(), 35) << name.toStdString();
            EXPECT_EQ(name, name.toUpper()) << name.toStdString();
            EXPECT_LE(attorney.size(), 35) << attorney.toStdString();
            EXPECT_EQ(attorney, attorney.toUpper()) << attorney.toStdString();
            EXPECT_TRUE(branch.size() == 1 && branch.at(0).isUpper()) << branch.toStdString();
        }
    }
    EXPECT_GE(Count(world, QStringLiteral("SELECT count(DISTINCT MASBRN) FROM MRLCRT.MASCIV")), 3);
}

TEST_F(SeededCourt, HearingsFallAroundTodayInCourtHours)
{
    const QDate today = QDate::currentDate();
    const QStringList dates = Column(world, QStringLiteral("SELECT DISTINCT HRGHDT FROM MRLCRT.HRGDTA"));
    EXPECT_GE(dates.size(), 5);
    for (const QString &text : dates) {
        const QDate date = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
        ASSERT_TRUE(date.isValid()) << text.toStdString();
        EXPECT_LE(qAbs(today.daysTo(date)), 31) << text.toStdString();
    }
    for (const QString &time : Column(world, QStringLiteral("SELECT DISTINCT HRGHTM FROM MRLCRT.HRGDTA"))) {
        const int hhmm = time.toInt();
        EXPECT_TRUE(hhmm >= 800 && hhmm <= 1700 && hhmm % 100 < 60) << time.toStdString();
    }
    const QString todays = today.toString(QStringLiteral("yyyyMMdd"));
    EXPECT_GT(
        Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE HRGHDT = %1").arg(todays)), 0);
    // Some cases come up twice on one day: the docket run must cope with that.
    EXPECT_GT(
        Count(world, QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM MRLCRT.HRGDTA GROUP BY HRGYER, "
                                    "HRGTYP, HRGSEQ, HRGHDT HAVING count(*) > 1)")),
        0);
    EXPECT_EQ(Count(world,
                    QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE (HRGYER, HRGTYP, HRGSEQ) NOT IN "
                                   "(%1)")
                        .arg(AllCases)),
              0)
        << "a hearing for a case the masters do not hold";
}

TEST_F(SeededCourt, SomeFoldersAreOnLoan)
{
    const QDate today = QDate::currentDate();
    const QList<QVariantList> loans =
        world.Rows(QStringLiteral("SELECT FILOTO, FILUDT, FILUSR FROM MRLCRT.FILCHK"));
    EXPECT_GE(loans.size(), 10);
    EXPECT_LT(loans.size(), Count(world, QStringLiteral("SELECT count(*) FROM (%1)").arg(AllCases)) / 2);
    QSet<QString> parties;
    for (const QVariantList &loan : loans) {
        const QString party = loan[0].toString();
        parties << party;
        EXPECT_FALSE(party.trimmed().isEmpty());
        EXPECT_LE(party.size(), 13) << party.toStdString();
        // Stored as the number MMDDYYYY: restore the lost leading zero to read it.
        const QDate date =
            QDate::fromString(QString::number(loan[1].toLongLong()).rightJustified(8, QLatin1Char('0')),
                              QStringLiteral("MMddyyyy"));
        EXPECT_TRUE(date.isValid() && date <= today) << loan[1].toString().toStdString();
        EXPECT_FALSE(loan[2].toString().isEmpty());
    }
    EXPECT_GE(parties.size(), 4);
    EXPECT_EQ(Count(world,
                    QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK WHERE (FILYER, FILTYP, FILSEQ) NOT IN "
                                   "(%1)")
                        .arg(AllCases)),
              0)
        << "a loan for a case the masters do not hold";
}

TEST_F(SeededCourt, CodesAreThoseOfTheReferenceTables)
{
    // The generated docket draws on the same codes; check both.
    const ZorvaDb::Result generated =
        zorva.Run({QStringLiteral("generate"), world.DatabaseUrl(), QStringLiteral("--date"),
                   QStringLiteral("2026-03-02"), QStringLiteral("--hearings"), QStringLiteral("200")});
    ASSERT_EQ(generated.exitCode, 0) << generated;

    const struct
    {
        const char *query;
        const char *file;
        const char *field;
        const char *onlyWhere; // field=value filter on the reference rows
        const char *value;
    } checks[] = {
        {"SELECT DISTINCT HRGJDG FROM MRLCRT.HRGDTA", "ARYJDG.XML", "JDGCOD", "JDGACT", "Y"},
        {"SELECT DISTINCT HRGROM FROM MRLCRT.HRGDTA", "ARYROM.XML", "ROMCOD", "", ""},
        {"SELECT DISTINCT MASTYP FROM MRLCRT.MASCRM UNION SELECT DISTINCT MASTYP FROM MRLCRT.MASCIV",
         "ARYTYP.XML", "TYPCTP", "", ""},
    };
    for (const auto &c : checks) {
        Rowset table;
        QString error;
        ASSERT_TRUE(ReadRowset(DataFile(c.file), &table, &error)) << c.file << ": " << error.toStdString();
        const QStringList known =
            FieldValues(table, QLatin1String(c.field), QLatin1String(c.onlyWhere), QLatin1String(c.value));
        const QStringList used = Column(world, QLatin1String(c.query));
        EXPECT_GE(used.size(), 3) << c.query;
        for (const QString &code : used)
            EXPECT_TRUE(known.contains(code)) << code.toStdString() << " is not in " << c.file;
    }
}

// Seeding again resets the demo's own rows; a court that holds anything else (a clerk's loan
// on a demo case, a clerk's own case, a history row) is refused and left as it was, unless
// --force says so.
TEST(ZorvaDbSeed, RefusesACourtInUseUnlessForced)
{
    const QString lent = QStringLiteral("SELECT FILOTO FROM MRLCRT.FILCHK WHERE FILYER=2009 AND FILSEQ=123");
    const QString own = QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILSEQ=777");
    const struct
    {
        const char *name;
        QStringList byHand; // statements a clerk's work comes to, after the first seeding
        bool force;
        int exitCode;
        QStringList told; // in the refusal
        QString query;    // and what it gives afterwards
        QVariant after;
    } cases[] = {
        {"only demo rows", {}, false, 0, {}, lent, "SMI"},
        {"a demo case's loan changed",
         {"UPDATE MRLCRT.FILCHK SET FILOTO='SOMEONE', FILUSR='ME' WHERE FILYER=2009 AND FILSEQ=123"},
         false,
         1,
         {"1 loan (2009-CV-000123)", "--force", "nothing was written"},
         lent,
         "SOMEONE"},
        {"a clerk's own case on loan",
         {"INSERT INTO MRLCRT.MASCIV VALUES (2026, 'CA', 777, 'PL', 1, 'N', 'KLEIN, RUTH', '')",
          "INSERT INTO MRLCRT.FILCHK VALUES (2026, 'CA', 777, 'PUBLIC DEF', 12012026, 'ME')"},
         false,
         1,
         {"1 case (2026-CA-000777)", "1 loan (2026-CA-000777)"},
         own,
         1},
        {"a clerk's history row",
         {"INSERT INTO MRLCRT.FILLOG VALUES ('2026-02-01T10:00:00.000Z', 2009, 'CV', 123, 0, 'ME', 'JUDGE', 1)"},
         false,
         1,
         {"1 history row (2009-CV-000123)"},
         QStringLiteral("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGUSR='ME'"),
         1},
        {"a demo case's loan changed, forced",
         {"UPDATE MRLCRT.FILCHK SET FILOTO='SOMEONE' WHERE FILYER=2009 AND FILSEQ=123"},
         true,
         0,
         {},
         lent,
         "SMI"},
        {"a clerk's own case, forced",
         {"INSERT INTO MRLCRT.FILCHK VALUES (2026, 'CA', 777, 'PUBLIC DEF', 12012026, 'ME')"},
         true,
         0,
         {},
         own,
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        ZorvaDb zorva(world);
        const QStringList seed{QStringLiteral("seed-demo"), world.DatabaseUrl()};
        ASSERT_EQ(zorva.Run(seed).exitCode, 0);
        for (const QString &statement : c.byHand)
            world.Exec(statement);
        const auto everything = [&] {
            QList<QVariantList> all;
            for (const char *table : {"MASCRM", "MASCIV", "HRGDTA", "FILCHK", "FILLOG"})
                all += world.Rows(QStringLiteral("SELECT * FROM MRLCRT.%1 ORDER BY 1, 2, 3, 4, 5, 6").arg(table));
            return all;
        };
        const QList<QVariantList> before = everything();

        const ZorvaDb::Result r = zorva.Run(c.force ? seed + QStringList{QStringLiteral("--force")} : seed);
        EXPECT_EQ(r.exitCode, c.exitCode) << r;
        for (const QString &told : c.told) {
            EXPECT_TRUE(r.err.contains(told)) << r;
        }
        if (c.exitCode != 0) {
            EXPECT_EQ(everything(), before);
        }
        EXPECT_EQ(world.Scalar(c.query), c.after);
    }
}

} // namespace
