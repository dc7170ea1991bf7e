#include "shared/controls/Combo.h"

#include <QTreeView>
#include <gtest/gtest.h>

// The list's columns take the design's widths and alignments (0 left, 1 right, 2 centred).
TEST(Combo, WidthAndAlignmentItemsShapeTheList)
{
    Combo combo;
    combo.SetWidthItems({40, 0});
    combo.SetAlignmentItems({1, 2});
    combo.InsertRow(QStringLiteral("A\tB"), 1);
    EXPECT_EQ(static_cast<const QTreeView *>(combo.view())->columnWidth(0), 40);
    const auto aligned = [&](int col) { return combo.model()->index(0, col).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask; };
    EXPECT_EQ(aligned(0), Qt::AlignRight);
    EXPECT_EQ(aligned(1), Qt::AlignHCenter);
}
