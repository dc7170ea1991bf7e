#include "BarcodeReader.h"
#include "BatchGrid.h"
#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Scenario;

const char *const Masters[] = {"MASCRM VALUES (2009,'CV',123,'PL',1,'N','ABLE',''", "MASCRM VALUES (2009,'CV',123,'DF',1,'N','BAKER',''",
                               "MASCRM VALUES (2010,'CF',7,'PL',1,'S','STATE',''", "MASCRM VALUES (2010,'CF',7,'DF',1,'S','DOE',''"};

// The barcodes of each page of the PDF, rasterised at 300 dpi.
QStringList Pages(const QString &pdf)
{
    QString error;
    const QStringList pages = BarcodeReader::Pages(BarcodeReader::ReadPdf(pdf, 300, &error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return pages;
}

// The labels dialog is answered with its steps, run once its own exec() has begun.
void AnswerWithSteps(ModalAnswerer &answerer)
{
    answerer.AnswerWindows([](QWidget *dialog, const QString &steps) {
        QTimer::singleShot(0, dialog, [dialog, steps] { Act(dialog, QString(steps).replace(" & ", "; ")); });
    });
}

// "Print labels…" from each locator view labels the cases it lists: a holder's folders on a
// part-used sheet (from its last label, so the second goes on a new sheet); the case view with no
// case found says there is nothing to label.
TEST(FolderLabels, FromTheLocatorsViews)
{
    TestWorld world;
    world.InstallReferenceTables();
    for (const char *values : Masters)
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1)").arg(QLatin1String(values)));
    world.Lend(2009, "CV", 123, "SMI");
    world.Lend(2010, "CF", 7, "SMI");
    const QString pdf = world.Path("holder.pdf");
    ModalAnswerer answerer({"optSheet & spnStart=30 & cmdPdf & cmdClose", "file:" + pdf, "OK"});
    AnswerWithSteps(answerer);
    clsFolder folder;
    folder.Locate("CLERK1");
    QPointer<QWidget> w = WindowDriver::Find("frmFolderLocate");
    ASSERT_NE(w, nullptr);
    w->findChild<QTabWidget *>("tabViews")->setCurrentIndex(1);
    Act(w, "txtREQOTO=SMI; txtREQOTO:Return; cmdLabels");
    w->findChild<QTabWidget *>("tabViews")->setCurrentIndex(0);
    Act(w, "cmdLabels");
    QTest::qWait(20);
    EXPECT_TRUE(Match({"PC/MEVS - Print labels:  []", "Save labels as PDF:  []",
                       "Print labels: There are no cases listed to print labels for. [OK]"},
                      answerer.Lines()))
        << answerer.Lines().join('\n').toStdString();
    EXPECT_EQ(Pages(pdf), QStringList({"2009CV000123", "2010CF000007"}));
    w->close();
}

// From the batch window's grid menu: the rows listed, a two-digit year as the grid completed it,
// a row the court does not hold left out; one label a page on a roll.
TEST(FolderLabels, FromTheBatchWindowsRows)
{
    TestWorld world;
    world.InstallReferenceTables();
    for (const char *values : Masters)
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1)").arg(QLatin1String(values)));
    const QString pdf = world.Path("batch.pdf");
    ModalAnswerer answerer({"optRoll & cmdPdf & cmdClose", "file:" + pdf});
    AnswerWithSteps(answerer);
    clsFolder folder;
    folder.EditBatch("CLERK1");
    QPointer<QWidget> w = BatchGrid::Shown();
    ASSERT_NE(w, nullptr);
    Act(w, "keys=09; keys:Right; keys=cv123; keys:Return; keys=2010CF99; keys:Return; keys=2010CF7; keys:Return");

    Act(w, "menu=mnuPrintLabels");
    QTest::qWait(20);
    EXPECT_TRUE(Match({"PC/MEVS - Print labels:  []", "Save labels as PDF:  []"}, answerer.Lines()))
        << answerer.Lines().join('\n').toStdString();
    EXPECT_EQ(Pages(pdf), QStringList({"2009CV000123", "2010CF000007"}));
    WindowDriver::Leave(w, "cmdRun");
}

} // namespace
