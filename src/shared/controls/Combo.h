#pragma once

#include <QComboBox>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

class QStandardItemModel;
class QTreeView;

// A drop-down list of rows with several columns. One column gives the value (datafield), one
// is shown in the closed box (datafieldtodisplay); both name a column by its key (keyitems,
// "Col1") or by its number counted from 0 ("1"), and default to the first column.
//
// The user picks a row from the list or types the start of the shown column (a judge's code)
// to choose the first row that begins with it. The box holds a valid entry exactly when one of
// its rows is chosen; a value that is not on the list chooses none.
//
// List positions count from 1, as the windows give them: InsertRow(row, 1) makes row the first
// entry. A position below 1 also inserts first; one past the end appends.
class Combo : public QComboBox
{
    Q_OBJECT

public:
    explicit Combo(QWidget *parent = nullptr);

    void SetCols(int cols);
    void SetColumnHeaders(bool shown);
    // Column captions in the list's header; columns without one show their field name.
    void SetHeaderCaptions(const QStringList &captions);
    QStringList HeaderCaptions() const { return m_captions; }
    void SetKeyItems(const QStringList &keys);
    QStringList KeyItems() const { return m_keys; }
    // A hidden column still holds its values; it is only not shown in the list.
    void SetHiddenItems(const QList<bool> &hidden);
    // Column widths in the list, in pixels; 0 or missing leaves a column at its natural width.
    void SetWidthItems(const QList<int> &widths);
    // Per column: 0 left, 1 right, 2 centred.
    void SetAlignmentItems(const QList<int> &alignments);

    void SetDataField(const QString &field);
    void SetDataFieldToDisplay(const QString &field);

    // Replaces the list with the rows of a reference-table file, its fields in file order as
    // the columns. On failure the list is left empty and *error says why; telling the user is
    // the caller's business.
    bool LoadFromFile(const QString &path, QString *error = nullptr);
    // Inserts one row given as its columns separated by tabs, at a list position counted from 1.
    // Both leave no row chosen: the windows fill a list before they choose.
    void InsertRow(const QString &tabSeparatedColumns, int position);

    int Rows() const;
    // Column col (counted from 0) of row (counted from 0); empty outside the list.
    QString Cell(int row, int col) const;

    // The value column of the chosen row; empty while no row is chosen.
    QString Value() const;
    // Chooses the first row whose value column is value, exactly; none when no row has it.
    void SetValue(const QString &value);
    bool IsValid() const { return currentIndex() >= 0; }

signals:
    // The chosen value or the validity changed, by the user or by code.
    void Change();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int ColumnOf(const QString &field) const;
    void ApplyColumns();
    void Reevaluate();
    // Runs a change to the rows and leaves no row chosen.
    template <typename Fn> void WithoutChoice(Fn change);

    QStandardItemModel *m_model;
    QTreeView *m_view;
    bool m_columnHeaders = true;
    QStringList m_captions;
    QStringList m_fieldNames;
    QStringList m_keys;
    QList<bool> m_hidden;
    QList<int> m_widths;
    QList<int> m_alignments;
    QString m_dataField;
    QString m_displayField;

    QString m_typed;
    QElapsedTimer m_sinceTyped;
    bool m_quiet = false;
    QString m_reportedValue;
    bool m_reportedValid = false;
};
