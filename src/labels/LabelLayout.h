#pragma once

#include <QPageSize>
#include <QRectF>
#include <QString>
#include <optional>

// Where labels sit on a page, in inches from the page's top left corner.
//  - "sheet": US Letter with 30 labels of 2 5/8 x 1 inch, 3 across and 10 down (the common
//    address-label stock), filled across then down from a chosen position so that a part-used
//    sheet is used up;
//  - "roll": one label of 2 1/4 x 1 1/4 inch a page, for thermal label printers.
class LabelLayout
{
public:
    enum Kind { Sheet, Roll };

    static LabelLayout Of(Kind kind);
    // "sheet" or "roll"; none for anything else.
    static std::optional<LabelLayout> FromName(const QString &name);

    Kind kind() const { return m_kind; }
    QString Name() const;
    QPageSize PageSize() const;
    QSizeF PageInches() const;
    int PerPage() const;
    // The label at a position of the page, 1 = top left.
    QRectF LabelInches(int position) const;

private:
    explicit LabelLayout(Kind kind) : m_kind(kind) {}
    Kind m_kind;
};
