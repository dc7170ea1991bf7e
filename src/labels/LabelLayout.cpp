#include "LabelLayout.h"

namespace {

// The sheet's stock: half an inch above the first row, 3/16 inch beside the first column, an
// eighth of an inch between columns, rows touching.
constexpr double SheetTop = 0.5, SheetLeft = 0.1875, SheetPitchX = 2.75, SheetPitchY = 1.0;
constexpr double SheetLabelW = 2.625, SheetLabelH = 1.0;
constexpr int SheetColumns = 3, SheetRows = 10;
constexpr double RollW = 2.25, RollH = 1.25;

} // namespace

LabelLayout LabelLayout::Of(Kind kind) { return LabelLayout(kind); }

std::optional<LabelLayout> LabelLayout::FromName(const QString &name)
{
    if (name == QLatin1String("sheet"))
        return Of(Sheet);
    if (name == QLatin1String("roll"))
        return Of(Roll);
    return std::nullopt;
}

QString LabelLayout::Name() const { return m_kind == Sheet ? QStringLiteral("sheet") : QStringLiteral("roll"); }

QSizeF LabelLayout::PageInches() const { return m_kind == Sheet ? QSizeF(8.5, 11) : QSizeF(RollW, RollH); }

QPageSize LabelLayout::PageSize() const
{
    if (m_kind == Sheet)
        return QPageSize(QPageSize::Letter);
    return QPageSize(PageInches(), QPageSize::Inch, QStringLiteral("Label 2.25 x 1.25 in"), QPageSize::ExactMatch);
}

int LabelLayout::PerPage() const { return m_kind == Sheet ? SheetColumns * SheetRows : 1; }

QRectF LabelLayout::LabelInches(int position) const
{
    if (m_kind == Roll)
        return {0, 0, RollW, RollH};
    const int index = position - 1;
    return {SheetLeft + (index % SheetColumns) * SheetPitchX, SheetTop + (index / SheetColumns) * SheetPitchY,
            SheetLabelW, SheetLabelH};
}
