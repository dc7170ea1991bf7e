#include "BarcodeReader.h"
#include "labels/LabelPrinter.h"
#include "records/CaseKey.h"

#include <QMap>
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

// Every layout rendered at a thermal printer's 203 dpi and a laser's 300, from the first label
// and from later ones of a part-used sheet: every label's barcode reads back as its case number
// at the label's own place, in modules of whole dots no narrower than 7.5 mil, with light
// quiet zones of ten modules inside the label on both sides.
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
            QMap<QString, QString> expected, read; // "page/position" -> text
            for (int i = 0; i < labels.size(); ++i) {
                // The component's own reader takes each text back to its case.
                EXPECT_EQ(CaseKey::Parse(QLatin1String(Cases[i].barcode)), std::optional(Cases[i].key));
                const LabelPrinter::Place place = printer.PlaceOf(i);
                expected[QStringLiteral("%1/%2").arg(place.page).arg(place.position)] = QLatin1String(Cases[i].barcode);
            }
            for (int page = 0; page < printer.PageCount(static_cast<int>(labels.size())); ++page) {
                const QImage image = printer.RenderPage(labels, page, dpi);
                ASSERT_FALSE(image.isNull());
                for (const BarcodeReader::Symbol &symbol : BarcodeReader::Read(image, page)) {
                    int position = 0;
                    QRect slot;
                    for (int p = 1; p <= layout.PerPage() && !position; ++p) {
                        const QRectF in = layout.LabelInches(p);
                        slot = QRectF(in.topLeft() * dpi, in.size() * dpi).toRect();
                        if (slot.contains(symbol.centre.toPoint()))
                            position = p;
                    }
                    read[QStringLiteral("%1/%2").arg(page).arg(position)] = symbol.text;
                    const BarcodeReader::Runs runs =
                        BarcodeReader::Measure(image, qRound(symbol.centre.y()), slot.left(), slot.right() + 1);
                    EXPECT_GE(runs.narrowest, 0.0075 * dpi) << symbol.text.toStdString();
                    EXPECT_TRUE(runs.wholeModules) << symbol.text.toStdString();
                    EXPECT_GE(runs.leftMargin, 10 * runs.narrowest) << symbol.text.toStdString();
                    EXPECT_GE(runs.rightMargin, 10 * runs.narrowest) << symbol.text.toStdString();
                }
            }
            EXPECT_EQ(read, expected);
        }
    }
}

} // namespace
