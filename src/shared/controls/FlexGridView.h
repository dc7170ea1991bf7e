#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

class FlexGrid;

// The pieces FlexGrid is drawn with. The grid keeps every value itself; these only show its data
// rows and its fixed rows (the header), and hand input back to it.

// Draws the fixed rows, stacked, above each column; the view keeps it in step with the columns.
class FlexGridHeader : public QHeaderView
{
public:
    explicit FlexGridHeader(FlexGrid *grid);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    FlexGrid *m_grid;
};

// Paints a data cell: its background (own, alternate or grid colour), text, grid lines and the
// focus rectangle of the current cell.
class FlexGridDelegate : public QStyledItemDelegate
{
public:
    explicit FlexGridDelegate(FlexGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    FlexGrid *m_grid;
};

// Routes keys and clicks to the grid, which decides every move itself, and keeps the grid's
// editor on its cell while the view scrolls or resizes.
class FlexGridView : public QTableView
{
public:
    explicit FlexGridView(FlexGrid *grid);

    // After a fixed row changed height: the header takes its new height.
    void Relayout();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    FlexGrid *m_grid;
};

// Shared by the painters: one cell's text, in the grid's general alignment (numbers to the right).
void FlexGridDrawCell(QPainter *painter, const QRect &rect, const QString &text, const QFont &font,
                      const QColor &background, const QColor &foreground, const QColor &lines);

// Whether widget is ancestor or inside it, across window boundaries too: an editor's drop-down
// list is a window of its own.
bool FlexGridWithin(const QWidget *widget, const QWidget *ancestor);
