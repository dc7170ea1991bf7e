#include "BarcodeReader.h"
#include "labels/LabelPrinter.h"
#include "records/CaseKey.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Case numbers at the edges of what a label carries: one-letter types (the formatter pads them
// with a blank, which must not reach the barcode), the largest sequence, years the batch grid
// completes from two digits ("51" to 1951, "50" to 2050) and a type ending in a digit, which
// cannot be run together.
const struct
{
    CaseKey key;
    const char *barcode;
} Cases[] = {
    {{2009, "CV", 123}, "2009CV000123"},   {{2009, "T", 1}, "2009T000001"},
    {{2026, "CR", 999999}, "2026CR999999"}, {{1951, "P", 42}, "1951P000042"},
    {{2050, "CF", 7}, "2050CF000007"},     {{9999, "ZZ", 999999}, "9999ZZ999999"},
    {{2009, "J1", 123}, "2009-J1-000123"},
};

QList<FolderLabel> Labels()
{
    QList<FolderLabel> labels;
    for (const auto &c : Cases)
        labels.append({c.key, QStringLiteral("ABLE VS A VERY LONG NAME THAT NO LABEL HAS ROOM FOR, INC.")});
    return labels;
}

// Where the stock's labels are, in inches, as its maker gives them: on the sheet 3 across from
// 3/16 inch at a pitch of 2 3/4, 10 down from 1/2 inch at a pitch of 1; on the roll the page.
QRectF Stock(LabelLayout::Kind kind, int position)
{
    const int i = position - 1;
    return kind == LabelLayout::Roll ? QRectF(0, 0, 2.25, 1.25) : QRectF(0.1875 + i % 3 * 2.75, 0.5 + i / 3, 2.625, 1);
}

// Every layout rendered at a thermal printer's 203 dpi and a laser's 300, from the first label
// and from later ones of a part-used sheet (filled across, then down, then on a new sheet):
// every label's barcode reads back as its case number on its own label of the stock, in modules
// of whole dots no narrower than 7.5 mil, with light quiet zones of ten modules inside the label
// on both sides.
TEST(LabelScan, EveryLabelReadsBackAtItsPlace)
{
    const QList<FolderLabel> labels = Labels();
    const struct
    {
        LabelLayout::Kind kind;
        int start;
    } layouts[] = {{LabelLayout::Sheet, 1}, {LabelLayout::Sheet, 2}, {LabelLayout::Sheet, 28},
                   {LabelLayout::Sheet, 30}, {LabelLayout::Roll, 1}};
    for (const auto &l : layouts) {
        for (const int dpi : {203, 300}) {
            const LabelLayout layout = LabelLayout::Of(l.kind);
            SCOPED_TRACE(QStringLiteral("%1 from %2 at %3 dpi").arg(layout.Name()).arg(l.start).arg(dpi).toStdString());
            const LabelPrinter printer(layout, l.start, QStringLiteral("COUNTY COURT OF EXAMPLE"));
            const int perPage = l.kind == LabelLayout::Sheet ? 30 : 1;
            QStringList expected, read; // "page/position text"
            for (int i = 0; i < labels.size(); ++i) {
                // The component's own reader takes each text back to its case.
                EXPECT_EQ(CaseKey::Parse(QLatin1String(Cases[i].barcode)), std::optional(Cases[i].key));
                const int slot = l.start - 1 + i;
                expected << QStringLiteral("%1/%2 %3").arg(slot / perPage).arg(slot % perPage + 1).arg(Cases[i].barcode);
            }
            for (int page = 0; page <= (l.start - 1 + labels.size() - 1) / perPage; ++page) {
                const QImage image = printer.RenderPage(labels, page, dpi);
                ASSERT_FALSE(image.isNull());
                for (const BarcodeReader::Symbol &symbol : BarcodeReader::Read(image, page)) {
                    int position = 0;
                    QRect slot;
                    for (int p = 1; p <= perPage && !position; ++p) {
                        const QRectF in = Stock(l.kind, p);
                        slot = QRectF(in.topLeft() * dpi, in.size() * dpi).toRect();
                        if (slot.contains(symbol.centre.toPoint()))
                            position = p;
                    }
                    read << QStringLiteral("%1/%2 %3").arg(page).arg(position).arg(symbol.text);
                    const BarcodeReader::Runs runs =
                        BarcodeReader::Measure(image, qRound(symbol.centre.y()), slot.left(), slot.right() + 1);
                    EXPECT_GE(runs.narrowest, 0.0075 * dpi) << symbol.text.toStdString();
                    EXPECT_TRUE(runs.wholeModules) << symbol.text.toStdString();
                    EXPECT_GE(runs.leftMargin, 10 * runs.narrowest) << symbol.text.toStdString();
                    EXPECT_GE(runs.rightMargin, 10 * runs.narrowest) << symbol.text.toStdString();
                }
            }
            expected.sort();
            read.sort();
            EXPECT_EQ(read, expected);
        }
    }
}

} // namespace
