#include "TestWorld.h"
#include "QtPrinters.h"
#include "TraceCapture.h"
#include "util/modGetCaseStyle.h"

#include <gtest/gtest.h>

namespace {

// The style of case 2010-CA-7 (a civil case) and what the call returned, as
// "style | plaintiff litigant type, number, attorney | defendant's | errors".
QString Style(TestWorld &world, const QStringList &litigants)
{
    for (const QString &l : litigants) // "master type litigant-type number name"
        world.Exec(QString("INSERT INTO MRLCRT.%1 (MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,MASBRN,MASNAM,MASATY) VALUES (2010,'%2',7,'%3',%4,'N','%5','AT %4')")
                       .arg(l.section(' ', 0, 0), l.section(' ', 1, 1), l.section(' ', 2, 2), l.section(' ', 3, 3), l.section(' ', 4)));
    QString plfNam, plfLtp, versus, defNam, defLtp, plfAty, defAty;
    qint16 plfLit = -1, defLit = -1;
    QStringList errors;
    const QString style = modGetCaseStyle::GetCaseStyle(true, 2010, "CA", 7, "PL", 1, plfNam, plfLtp, plfLit, versus, defNam, defLtp, defLit,
                                                        plfAty, defAty, [&](qint32, const QString &d) { errors << d; });
    return QString("%1 | %2 %3 %4 | %5 %6 %7 | %8").arg(style, plfLtp).arg(plfLit).arg(plfAty, defLtp).arg(defLit).arg(defAty, errors.join(", "));
}

// clang-format off
TEST(CaseStyle, FirstLitigantOfEachSide)
{
    const struct { QStringList litigants; const char *style; } cases[] = {
        {{"MASCIV CA DF 1 BAKER", "MASCIV CA PL 1 ABLE"}, "ABLE VS BAKER | PL 1 AT 1 | DF 1 AT 1 | "},
        // The lowest number of each side; trailing blanks dropped; other litigant types ignored; names cut to 35.
        {{"MASCIV CA PL 3 THIRD", "MASCIV CA PL 2 SECOND   ", "MASCIV CA DF 5 DOE, JANE", "MASCIV CA WT 1 WITNESS"}, "SECOND VS DOE, JANE | PL 2 AT 2 | DF 5 AT 5 | "},
        // The same number under a criminal type is another case.
        {{"MASCRM CF PL 1 STATE", "MASCIV CA PL 1 ABLE"}, "ABLE VS  | PL 1 AT 1 |  0  | "},
        {{}, "   |  0  |  0  | "}, // no such case
        {{"MASCIV CA PL 1 AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAABC"}, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA VS  | PL 1 AT 1 |  0  | "},
        // A number the 16-bit output cannot hold is a failure, never a wrapped number.
        {{"MASCIV CA PL 70000 ABLE"}, " |  -1  |  -1  | WINGETSTY returned 70000 in PrmPlfLit, which is not a litigant number."},
        {{"MASCIV CA DF 32767 BAKER"}, " VS BAKER |  0  | DF 32767 AT 32767 | "},
    };
    for (const auto &c : cases) {
        TestWorld world;
        EXPECT_EQ(Style(world, c.litigants), QString(c.style)) << c.litigants.join("; ").toStdString();
    }
}
// clang-format on

TEST(CaseStyle, CallCarriesTheFlagAndTheCase)
{
    TestWorld world;
    TraceCapture trace;
    Style(world, {});
    ASSERT_FALSE(trace.Entries().isEmpty());
    EXPECT_EQ(trace.Entries().first().split('\n').mid(0, 5).join(" / "),
              QString(modGetCaseStyle::CommandText) + " /   ?1 = 1 (QString) /   ?2 = 2010 (short) /   ?3 = CA (QString) /   ?4 = 7 (int)");
}

} // namespace
