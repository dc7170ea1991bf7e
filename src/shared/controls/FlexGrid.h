#pragma once

#include "shared/RowsetReader.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class FlexGridView;
class FlexGridModel;
class FlexGridHeader;
class FlexGridDelegate;

// An editable grid of text cells with one or more fixed (header) rows and no fixed columns.
//
// Rows and columns are counted from 0, the fixed rows included: row 0 is the header, and
// TextMatrix(0, col) is a column's header text. Sizes are in twips (TwipsPerPixel to a pixel) and
// colours are integers 0x00BBGGRR, as the court's settings store them.
//
// The six notifications carry their cancel flag or character code by reference, so connect them
// directly (the default within the user-interface thread). They nest: a handler may move the
// cursor, start an edit or append rows, and the grid raises the notifications for that change
// while the first handler is still running. The rules:
//  - Any move of the current cell while a cell is edited commits the edit first (AfterEdit), and
//    only then is the move decided: BeforeRowColChange names the cell that is current after the
//    commit as the old cell. Relative moves (arrows, Tab) are taken from that cell too.
//  - A move to the current cell is no move: nothing is raised and an open editor stays open.
//  - A cancelled move leaves the cursor where the handler left it.
//  - Setting Row or Col raises BeforeRowColChange; changing the number of rows or columns only
//    keeps the cursor inside the grid, without notification, and ends an edit of a cell that
//    moved or went away without AfterEdit.
class FlexGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int TwipsPerPixel = 15;

    // Values of Editable: whether the clerk may start an edit (keys, F2, Enter, a click on the
    // current cell). Programmatic EditCell() works either way.
    enum EditableMode { EditNone = 0, EditKeyboardMouse = 2 };
    // Values of FocusRect.
    enum FocusRectStyle { FocusRectNone = 0, FocusRectHeavy = 2 };

    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    // Shape. Rows counts the fixed rows; Rows = FixedRows drops every data row.
    int FixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows);
    int Rows() const { return int(m_rows.size()); }
    void setRows(int rows);
    int Cols() const { return int(m_cols.size()); }
    void setCols(int cols);
    void RemoveItem(int row);

    // Columns. A key the grid does not have is a programming error: it asserts in a debug build
    // and gives -1 (ColIndex) in a release build.
    void setColKey(int col, const QString &key);
    int ColIndex(const QString &key) const;
    int ColWidth(int col) const;
    void setColWidth(int col, int twips); // below 0: the default width
    bool ColHidden(int col) const;
    void setColHidden(int col, bool hidden);
    // "|a|b|c": a drop-down list whose editor also takes typed text; empty: a plain text editor.
    // An item is "value", "value\tmore columns" or "#key;value..." (the key is not shown); the
    // cell takes the item's first column.
    void setColComboList(int col, const QString &list);

    // Rows.
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips); // below 0: the default height; 0 hides the row's cells
    bool RowHidden(int row) const;
    void setRowHidden(int row, bool hidden);

    // Cells. A cell outside the grid reads as empty and ignores writes.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // The number the text holds (blanks around it allowed), 0 when it is not a number.
    double ValueMatrix(int row, int col) const;
    // A cell's own colours; 0 until set (the cell then shows the grid's colours).
    qint32 CellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, qint32 color);
    qint32 CellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, qint32 color);
    bool CellFontBold(int row, int col) const;
    // Over the block of cells from (row1, col1) to (row2, col2), inclusive.
    void setCellFontBold(int row1, int col1, int row2, int col2, bool bold);

    // The cursor: -1 while the grid has no data row (or no column).
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);

    // Editing.
    int Editable() const { return m_editable; }
    void setEditable(int mode);
    // The name a screen reader says for the grid; the cells' view is what takes the focus.
    void SetAccessibleName(const QString &name);
    // Starts editing the current cell (through BeforeEdit), its text all selected.
    void EditCell();
    bool IsEditing() const { return m_edit.has_value(); }
    // The open editor's text and selection; empty and 0 while no cell is edited.
    QString EditText() const;
    void setEditText(const QString &text);
    int EditSelStart() const;
    void setEditSelStart(int start);
    int EditSelLength() const;
    // Applies to every editor opened from now on (and to an open one); 0 means no limit.
    int EditMaxLength() const { return m_editMaxLength; }
    void setEditMaxLength(int length);

    // Look. An alternate colour of 0 means every data row takes BackColor.
    int OutlineBar() const { return m_outlineBar; } // kept for callers; the grid draws no outline
    void setOutlineBar(int style) { m_outlineBar = style; }
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 color);
    qint32 BackColorAlternate() const { return m_backColorAlternate; }
    void setBackColorAlternate(qint32 color);
    qint32 BackColorFixed() const { return m_backColorFixed; }
    void setBackColorFixed(qint32 color);
    qint32 GridColor() const { return m_gridColor; }
    void setGridColor(qint32 color);
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 color);
    qint32 ForeColorFixed() const { return m_foreColorFixed; }
    void setForeColorFixed(qint32 color);
    int FocusRect() const { return m_focusRect; }
    void setFocusRect(int style);
    bool ScrollTrack() const { return m_scrollTrack; }
    void setScrollTrack(bool track);

    // A drop-down list from a reference table: one item per row, separated by "|" (no leading
    // "|"). An item is the values of the comma-separated fields of fieldList joined by tabs;
    // when keyField names another field than the first of fieldList, the item is preceded by
    // "#" + that field's value + ";". A field the rowset lacks reads as empty (and is warned of).
    static QString BuildComboList(const Rowset &rows, const QString &fieldList, const QString &keyField);

signals:
    void BeforeRowColChange(int oldRow, int oldCol, int newRow, int newCol, bool &cancel);
    void BeforeEdit(int row, int col, bool &cancel);
    // A character typed into the editor (8 for Backspace); replace it, or set 0 to drop it.
    void KeyPressEdit(int row, int col, int &keyAscii);
    // The Qt key and modifiers; the window reads neither, only that a key went up in the editor.
    void KeyUpEdit(int row, int col, int keyCode, int shift);
    void ChangeEdit();
    void AfterEdit(int row, int col);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    friend class FlexGridView;
    friend class FlexGridModel;
    friend class FlexGridHeader;
    friend class FlexGridDelegate;

    static QColor ToQColor(qint32 bgr);
    static qint32 FromQColor(const QColor &color);

    struct Cell
    {
        QString text;
        std::optional<qint32> fore;
        std::optional<qint32> back;
        bool bold = false;
    };
    struct RowData
    {
        QList<Cell> cells;
        bool hidden = false;
        int heightPx = -1; // -1: the default height
    };
    struct ColData
    {
        QString key;
        int widthPx = -1; // -1: the default width
        bool hidden = false;
        QString comboList;
    };
    struct Editor
    {
        QPointer<QWidget> widget;     // the QLineEdit or QComboBox
        QWidget *keyTarget = nullptr; // the widget that receives its key events
        QLineEdit *line = nullptr;    // the text typed: the line edit, or the list's own
        QComboBox *combo = nullptr;
        int row = -1;
        int col = -1;
    };

    bool validRow(int row) const;
    bool validCol(int col) const;
    bool validCell(int row, int col) const;
    const Cell *cellAt(int row, int col) const;
    Cell *cellAt(int row, int col);
    int rowPx(int row) const;
    int colPx(int col) const;
    int defaultRowPx() const;
    qint32 cellBackground(int row, int col) const;

    // Structure changes: the view's model is reset around them, then sizes are re-applied.
    template <typename Change> void restructure(Change change);
    void applyLayout();
    void clampCursor();
    void repaintCells();

    // Cursor moves.
    bool tryMove(int row, int col);
    bool moveBy(int rows, int cols);
    bool moveTab(bool forward);
    int nextVisibleRow(int from, int step) const;
    int nextVisibleCol(int from, int step) const;
    void clickCell(int row, int col, bool doubleClick);

    // Editing.
    bool startEdit(bool byUser);
    void openEditor(int row, int col);
    void placeEditor();
    void commitEdit();
    void cancelEdit();
    std::optional<Editor> detachEditor();
    QString editorText(const Editor &editor) const;
    bool editorKeyPress(QKeyEvent *event);
    bool passOn(QKeyEvent *event);
    void emitKeyUp(QKeyEvent *event);
    void endEditIfAffected(int firstChangedRow, int firstChangedCol);

    // Keys that reach the grid itself (not its editor).
    void handleKeyPress(QKeyEvent *event);
    void handleKeyRelease(QKeyEvent *event);

    FlexGridModel *m_model = nullptr;
    FlexGridView *m_view = nullptr;
    FlexGridHeader *m_header = nullptr;

    QList<RowData> m_rows;
    QList<ColData> m_cols;
    int m_fixedRows = 0;
    int m_row = -1;
    int m_col = -1;

    int m_editable = EditNone;
    int m_editMaxLength = 0;
    std::optional<Editor> m_edit;
    // Each column's list editor is kept between edits, with the list it was made for: making an
    // editable combo box is most of the cost of moving into a new row's year.
    struct ListEditor
    {
        QString list;
        QPointer<QComboBox> combo;
    };
    QHash<int, ListEditor> m_listEditors;
    bool m_synthesizing = false;
    const QKeyEvent *m_keyFromView = nullptr; // compared only, never read
    bool m_applyingLayout = false;

    int m_outlineBar = 0;
    qint32 m_backColor = 0xFFFFFF;
    qint32 m_backColorAlternate = 0;
    qint32 m_backColorFixed = 0xC0C0C0;
    qint32 m_gridColor = 0xC0C0C0;
    qint32 m_foreColor = 0;
    qint32 m_foreColorFixed = 0;
    int m_focusRect = FocusRectNone;
    bool m_scrollTrack = true;
};
