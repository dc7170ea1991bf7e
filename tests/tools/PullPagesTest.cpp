#include "TestWorld.h"

#include "forms/folder_locate/LocateQueries.h"

#include <gtest/gtest.h>

namespace {

// zorva-db pull-list takes the docket a page at a time: the pages, put together, are the whole
// list in its order, each hearing once, however the page size falls (a twice-entered hearing,
// a branch that leaves cases out, a row that holds no case key).
TEST(PullPages, ThePagesMakeTheWholeList)
{
    TestWorld world;
    for (const char *values : {"HRGDTA VALUES (2009,'CV',1,'SMI','1',20261207,900)", "HRGDTA VALUES (2009,'CV',2,'SMI','1',20261207,900)",
                               "HRGDTA VALUES (2009,'CV',2,'SMI','1',20261207,900)", "HRGDTA VALUES (2009,'CV',3,'JON','2',20261207,1000)",
                               "HRGDTA VALUES (NULL,'CV',4,'JON','2',20261207,1000)", "HRGDTA VALUES (2009,'CV',5,'ABE','2',20261207,1000)",
                               "HRGDTA VALUES (2009,'CV',5,'JON','2',20261207,1000)", "HRGDTA VALUES (2009,'CV',6,'JON','3',20261207,1100)",
                               "MASCRM VALUES (2009,'CV',1,'PL',1,'N','ABLE','')", "MASCRM VALUES (2009,'CV',3,'PL',1,'S','CARR','')",
                               "MASCRM VALUES (2009,'CV',6,'PL',1,'N','DOE','')"})
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.") + QLatin1String(values));
    for (const QString branch : {"", "N"}) {
        DocketSelection s;
        s.hearingDate = QDate(2026, 12, 7);
        s.branch = branch;
        LocateQueries queries;
        QList<LocateQueries::Pull> whole;
        ASSERT_TRUE(queries.PullList(s, &whole));
        const auto numbers = [](const QList<LocateQueries::Pull> &pulls) {
            QStringList list;
            for (const LocateQueries::Pull &p : pulls)
                list << p.caseNumber + ' ' + p.judge + ' ' + p.title;
            return list;
        };
        EXPECT_EQ(numbers(whole).size(), branch.isEmpty() ? 7 : 3) << numbers(whole).join('\n').toStdString();
        for (int size = 1; size <= 8; ++size) {
            QList<LocateQueries::Pull> paged;
            int pages = 0;
            ASSERT_TRUE(queries.PullPages(s, [&](QList<LocateQueries::Pull> &page) { paged += page; ++pages; }, size));
            EXPECT_EQ(numbers(paged), numbers(whole)) << "pages of " << size << ", branch " << branch.toStdString();
            EXPECT_GE(pages, branch.isEmpty() ? (7 + size - 1) / size : 1);
        }
    }
}

} // namespace
