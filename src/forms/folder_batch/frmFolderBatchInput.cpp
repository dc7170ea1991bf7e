// The batch window's input beyond typing into a cell: a scanned case number, a pasted list or
// cell, the grid's menu (Delete Row, Paste), Ctrl+Delete, Tab out of the grid, and the tip that
// says why a row was left by a run. The window's own rules (typing, lookup, run) are in
// frmFolderBatch.cpp.
#include "frmFolderBatch.h"

#include "BatchGrid.h"
#include "PastedCases.h"
#include "forms/folder_labels/LabelSources.h"
#include "forms/folder_labels/frmFolderLabels.h"
#include "modEliminateKeystroke.h"
#include "records/CaseKey.h"
#include "shared/controls/FlexGrid.h"
#include "shared/controls/ScannerInput.h"
#include "shared/modFormFunctions.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>

using namespace BatchGrid;

namespace {

// The refused lines of a paste, the first twenty each cut to 80 characters, then how many more:
// a box listing thousands, or one endless line, would not fit any screen, its OK button out of
// reach.
QString RefusalList(const QStringList &refused)
{
    constexpr qsizetype Shown = 20, Width = 80;
    QStringList cut;
    for (const QString &line : refused.mid(0, Shown))
        cut << (line.size() > Width ? line.left(Width - 1) + QChar(0x2026) : line);
    cut << refused.mid(Shown); // counted, never shown
    return modFormFunctions::ShortList(cut, Shown);
}

} // namespace

// ---- paste and scanner ----

void frmFolderBatch::CancelCellEdit()
{
    if (!grd->IsEditing())
        return;
    // Escape in the editor drops its text, which the case about to be entered replaces.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(grd, &escape);
}

void frmFolderBatch::EnterCase(int row, const CaseKey &key)
{
    SetTitle(row, QString());
    grd->setTextMatrix(row, Col(WRKYER), QString::number(key.year));
    grd->setTextMatrix(row, Col(WRKTYP), key.type);
    grd->setTextMatrix(row, Col(WRKSEQ), QString::number(key.sequence));
    grd_AfterEdit(row, Col(WRKSEQ));
}

bool frmFolderBatch::ScannedEnter(qint64 msecs)
{
    const int row = grd->Row();
    const std::optional<QString> scanned = m_scanner.Enter(msecs);
    const bool usable = scanned && m_scanRow == row && row >= grd->FixedRows();
    m_scanRow = -1;
    // Typed by a person, Enter does what the grid's rules say.
    if (!usable)
        return false;
    // Whichever form the case number came in, run together included: the cells were filled as
    // it was scanned, and Enter takes it as a whole, so the next scan finds the cursor in a year.
    const std::optional<CaseKey> key = CaseKey::Parse(scanned->trimmed());
    if (!key)
        return false;
    EnterWhole(row, *key);
    return true;
}

void frmFolderBatch::EnterWhole(int row, const CaseKey &key)
{
    CancelCellEdit();
    EnterCase(row, key);
    if (IsUnloaded())
        return;
    if (row == grd->Rows() - 1) {
        // A case the court does not hold keeps its marked row; the next one gets a row of its own.
        if (grd->TextMatrix(row, Col(WRKNAM)) == InvalidLitigant)
            AddEntryRow();
        grd->setRow(grd->Rows() - 1);
    }
    grd->setCol(Col(WRKYER));
}

void frmFolderBatch::Paste(const QString &text)
{
    // One line into a cell being edited goes into that cell; a list, or a paste on a cell that is
    // not being edited, goes into rows of its own.
    if (grd->IsEditing() && !text.trimmed().contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\t')))
        PasteIntoCell(text.trimmed());
    else
        PasteCases(text);
}

void frmFolderBatch::PasteIntoCell(const QString &text)
{
    const int row = grd->Row(), col = grd->Col();
    const PastedCases whole = ReadPastedCases(text);
    if (whole.cases.size() == 1) {
        EnterWhole(row, whole.cases.first());
        return;
    }
    // As if typed: through the column's key filter, up to the cell's length.
    QString typed;
    for (const QChar ch : text) {
        int key = ch.unicode();
        if (col == Col(WRKYER) || col == Col(WRKSEQ))
            key = modEliminateKeystroke::NumericKeyFilter(static_cast<qint16>(key));
        else if (col == Col(WRKTYP))
            key = modEliminateKeystroke::UpperCaseKeyFilter(static_cast<qint16>(key), false);
        if (key >= 0x20)
            typed += QChar(char16_t(key));
    }
    QString cell = grd->EditText();
    const int start = grd->EditSelStart();
    cell.remove(start, grd->EditSelLength());
    cell.insert(start, typed);
    grd->setEditText(cell); // the editor keeps the cell's length
    grd->setEditSelStart(std::min(start + static_cast<int>(typed.size()), static_cast<int>(grd->EditText().size())));
    m_scanRow = row;
    m_scanner.Clear(); // what Enter then finds is no longer one scanned case number
}

void frmFolderBatch::PasteCases(const QString &text)
{
    const PastedCases pasted = ReadPastedCases(text);
    const QList<CaseKey> &cases = pasted.cases;
    CancelCellEdit();
    for (qsizetype i = 0; i < cases.size() && !IsUnloaded(); ++i) {
        const int row = grd->Rows() - 1;
        EnterCase(row, cases.at(i));
        if (IsUnloaded())
            return;
        // A case the court does not hold keeps its row; the next one gets a row of its own.
        if (grd->Rows() - 1 == row && i + 1 < cases.size())
            AddEntryRow();
    }
    grd->setRow(grd->Rows() - 1);
    grd->setCol(Col(WRKYER));
    if (!pasted.refused.isEmpty())
        modFormFunctions::MsgBox(tr("These lines are not case numbers and were left out:\n") + RefusalList(pasted.refused),
                                 tr("Batch Folder Update"));
}

// ---- rows the clerk removes, the grid's menu, and why a row was left ----

void frmFolderBatch::DeleteRow(int row)
{
    if (row < grd->FixedRows() || row >= grd->Rows() - 1)
        return; // the entry row stays
    CancelCellEdit();
    grd->RemoveItem(row);
    m_why.removeAt(row - grd->FixedRows());
    if (grd->Rows() == grd->FixedRows() + 1)
        cmdRun->setEnabled(false); // nothing left to run
}

void frmFolderBatch::ShowContextMenu(QWidget *target, QContextMenuEvent *e)
{
    auto *view = grd->findChild<QTableView *>();
    if (e->reason() == QContextMenuEvent::Mouse && target == view->viewport()) {
        const QModelIndex at = view->indexAt(e->pos());
        if (at.isValid())
            grd->setRow(at.row() + grd->FixedRows());
    }
    auto *line = grd->IsEditing() ? qobject_cast<QLineEdit *>(target) : nullptr;
    QMenu *menu = line ? line->createStandardContextMenu() : new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuGrid"));
    QAction *paste = nullptr;
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *item : menu->actions())
        if (line && item->text().section(QLatin1Char('\t'), 0, 0) == pasteText)
            paste = item;
    if (paste)
        paste->disconnect(); // the editor's own paste would pass the cell's filters by
    else
        paste = menu->addAction(tr("&Paste"));
    paste->setObjectName(QStringLiteral("mnuPaste"));
    connect(paste, &QAction::triggered, this, [this] { Paste(QGuiApplication::clipboard()->text()); });
    menu->addSeparator();
    QAction *remove = menu->addAction(tr("&Delete Row") + QStringLiteral("\tCtrl+Del"));
    remove->setObjectName(QStringLiteral("mnuDeleteRow"));
    remove->setEnabled(grd->Row() >= grd->FixedRows() && grd->Row() < grd->Rows() - 1);
    connect(remove, &QAction::triggered, this, [this] { DeleteRow(grd->Row()); });
    menu->addSeparator();
    QAction *labels = menu->addAction(tr("Print &labels…"));
    labels->setObjectName(QStringLiteral("mnuPrintLabels"));
    connect(labels, &QAction::triggered, this, [this] { frmFolderLabels::PrintLabels(this, LabelSources::FromBatchGrid(*grd)); });
    menu->exec(e->globalPos());
    delete menu;
}

bool frmFolderBatch::ShowWhy(QObject *watched, QEvent *e)
{
    auto *view = grd->findChild<QTableView *>();
    if (watched != view->viewport())
        return false;
    auto *help = static_cast<QHelpEvent *>(e);
    const QModelIndex at = view->indexAt(help->pos());
    const QString why = at.isValid() ? m_why.value(at.row()) : QString();
    if (why.isEmpty())
        return false; // the grid's own tip
    QToolTip::showText(help->globalPos(), why, view->viewport());
    return true;
}

bool frmFolderBatch::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::ContextMenu &&
         type != QEvent::ToolTip) ||
        IsUnloaded() || !grd)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != grd && !grd->isAncestorOf(widget)))
        return false;
    if (type == QEvent::ToolTip)
        return ShowWhy(watched, e);
    if (type == QEvent::ContextMenu) {
        ShowContextMenu(widget, static_cast<QContextMenuEvent *>(e));
        return true;
    }
    if (widget != QApplication::focusWidget())
        return false;
    auto *key = static_cast<QKeyEvent *>(e);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool deleteRow = key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier;
    if (key->matches(QKeySequence::Paste) || deleteRow) {
        // Taken before the editor's own paste and delete-word.
        if (type == QEvent::KeyPress && deleteRow)
            DeleteRow(grd->Row());
        else if (type == QEvent::KeyPress)
            Paste(QGuiApplication::clipboard()->text());
        e->accept();
        return true;
    }
    if (type != QEvent::KeyPress)
        return false;
    if (key->key() == Qt::Key_Tab && modifiers == Qt::NoModifier && grd->Col() >= Col(WRKSEQ)) {
        // From the last cell a clerk types into, Tab leaves the grid; the cell is committed first.
        if (grd->IsEditing())
            grd->setCol(Col(WRKYER));
        if (!IsUnloaded())
            cmdCancel->setFocus(Qt::TabFocusReason);
        return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier)
        return ScannedEnter(ScannerInput::TimeOf(key));
    m_keyTime = ScannerInput::TimeOf(key); // for the cell's key notification that follows
    return false;
}

