#include "BarcodeReader.h"
#include "ZorvaDb.h"

#include <QDate>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The run-together case number of a court row: what a label's barcode must read.
QString Scanned(const QVariantList &row)
{
    return QStringLiteral("%1%2%3").arg(row[0].toInt(), 4, 10, QLatin1Char('0')).arg(row[1].toString().trimmed()).arg(row[2].toInt(), 6, 10, QLatin1Char('0'));
}

// The demo court's labels from the command line, as the file room prints them: every label of
// the PDF, rasterised by poppler at a thermal printer's and a laser's resolution, reads back as
// the cases asked for, page by page; cases named, a holder's folders and a day's pull list alike.
TEST(ZorvaDbLabels, PdfOfTheDemoCourtScansBack)
{
    TestWorld world;
    ZorvaDb zorva(world);
    ASSERT_EQ(zorva.Run({"seed-demo", world.DatabaseUrl()}).exitCode, 0);
    QStringList held, heard;
    for (const QVariantList &row : world.Rows("SELECT FILYER, FILTYP, FILSEQ FROM MRLCRT.FILCHK WHERE FILOTO = 'DA OFFICE'"))
        held << Scanned(row);
    const QString today = QDate::currentDate().toString("yyyyMMdd");
    for (const QVariantList &row : world.Rows("SELECT DISTINCT HRGYER, HRGTYP, HRGSEQ FROM MRLCRT.HRGDTA WHERE HRGHDT = " + today))
        heard << Scanned(row);
    held.sort();
    heard.sort();
    ASSERT_FALSE(held.isEmpty());
    ASSERT_GT(heard.size(), 1);
    QStringList named;
    for (const QVariantList &row : world.Rows("SELECT FILYER, FILTYP, FILSEQ FROM MRLCRT.FILCHK ORDER BY FILYER, FILTYP, FILSEQ LIMIT 4"))
        named << Scanned(row);
    named.sort();

    const QString pdf = world.Path("labels.pdf");
    const struct
    {
        QStringList args;
        QStringList pages; // the barcodes of each page, sorted, " " between them
    } runs[] = {
        {QStringList{"labels"} + named + QStringList{"--start", "29"},
         {named.mid(0, 2).join(' '), named.mid(2).join(' ')}},
        {QStringList{"labels"} + named.mid(0, 2) + QStringList{"--layout", "roll"}, {named[0], named[1]}},
        {{"labels", "--holder", "da office"}, {held.join(' ')}},
        {{"labels", "--pull-list", "--date", QDate::currentDate().toString(Qt::ISODate)}, {heard.join(' ')}},
    };
    for (const auto &run : runs) {
        SCOPED_TRACE(run.args.join(' ').toStdString());
        const ZorvaDb::Result result = zorva.Run(run.args + QStringList{"--db", world.DatabaseUrl(), "--pdf", pdf});
        ASSERT_EQ(result.exitCode, 0) << result;
        for (const int dpi : {203, 300}) {
            QString error;
            EXPECT_EQ(BarcodeReader::Pages(BarcodeReader::ReadPdf(pdf, dpi, &error)), run.pages) << dpi << " dpi";
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        }
    }
}

// What labels refuses before it reads anything (exit 2), and a list with nothing to label (1).
TEST(ZorvaDbLabels, RefusesWhatItCannotPrint)
{
    TestWorld world;
    ZorvaDb zorva(world);
    const QString pdf = world.Path("labels.pdf");
    const struct
    {
        QStringList args;
        int exit;
        const char *says;
    } cases[] = {
        {{"labels", "2009-CV-123", "--layout", "pad", "--pdf", pdf}, 2, "--layout \"pad\" is neither sheet nor roll"},
        {{"labels", "2009-CV-123", "--start", "31", "--pdf", pdf}, 2, "--start \"31\" is not a label of the sheet, 1 to 30"},
        {{"labels", "2009-CV-123", "--start", "0", "--pdf", pdf}, 2, "--start \"0\" is not a label"},
        {{"labels", "2009-CV-123", "--layout", "roll", "--start", "2", "--pdf", pdf}, 2, "--start is for a sheet"},
        {{"labels", "2009-CV-123", "--dpi", "20", "--pdf", pdf}, 2, "--dpi \"20\" is not"},
        {{"labels", "2009-CV-123"}, 2, "labels needs --pdf FILE"},
        {{"labels", "2009-CV-123", "--holder", "SMI", "--pdf", pdf}, 2, "labels needs case numbers, or --pull-list, or --holder NAME: one of them"},
        {{"labels", "--pdf", pdf}, 2, "labels needs case numbers"},
        {{"labels", "2009-CV-123", "--judge", "SMI", "--pdf", pdf}, 2, "--judge is for --pull-list"},
        {{"labels", "--pull-list", "--pdf", pdf}, 2, "pull-list needs --date yyyy-MM-dd"},
        {{"labels", "09-CV-123", "--pdf", pdf}, 2, "\"09-CV-123\" is not a case number"},
        {{"labels", "2009-CV-123", "--days", "3", "--pdf", pdf}, 2, "labels does not take --days"},
        {{"where", "2009-CV-123", "--layout", "roll"}, 2, "where does not take --layout"},
        {{"labels", "--holder", "NOBODY", "--db", world.DatabaseUrl(), "--pdf", pdf}, 1, "no cases to label"},
    };
    for (const auto &c : cases) {
        const ZorvaDb::Result result = zorva.Run(c.args);
        EXPECT_EQ(result.exitCode, c.exit) << result;
        EXPECT_TRUE(result.err.contains(QLatin1String(c.says))) << result;
        EXPECT_FALSE(QFile::exists(pdf)) << result;
    }
}

} // namespace
