#include "QtPrinters.h"
#include "shared/controls/FlexGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Five columns as a case list has them: year, type, sequence, then two cells the program fills.
enum Column { Year, Type, Seq, Title, Holder };

// A real window holding the grid (and a button to take the focus away), with every notification
// recorded, arguments included, in the order the grid raised it. Handlers a test installs run
// after the recording, so nested notifications appear inside their cause.
struct GridWindow
{
    QWidget window;
    FlexGrid *grid = nullptr;
    QPushButton *button = nullptr;
    QStringList log;

    std::function<void(int, int, int, int, bool &)> onMove;
    std::function<void(int, int, bool &)> onBeforeEdit;
    std::function<void(int, int, int &)> onKeyPress;

    explicit GridWindow(int dataRows = 3)
    {
        window.setObjectName("frmGridHost");
        auto *layout = new QVBoxLayout(&window);
        grid = new FlexGrid(&window);
        grid->setObjectName("grd");
        button = new QPushButton("&Run", &window);
        button->setObjectName("cmdRun");
        layout->addWidget(grid);
        layout->addWidget(button);
        grid->setCols(5);
        const char *keys[] = {"WRKYER", "WRKTYP", "WRKSEQ", "WRKNAM", "WRKOTO"};
        const char *headers[] = {"Case", "", "", "Title", "Checked Out"};
        const int widths[] = {645, 555, 825, 3000, 960};
        for (int col = 0; col < 5; ++col) {
            grid->setColKey(col, keys[col]);
            grid->setTextMatrix(0, col, headers[col]);
            grid->setColWidth(col, widths[col]);
        }
        grid->setRows(1 + dataRows);
        grid->setEditable(FlexGrid::EditKeyboardMouse);
        Record();
        window.resize(520, 260);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
    }

    void Record()
    {
        QObject::connect(grid, &FlexGrid::BeforeRowColChange,
                         [this](int r0, int c0, int r1, int c1, bool &cancel) {
                             log << QString("Move %1,%2>%3,%4").arg(r0).arg(c0).arg(r1).arg(c1);
                             if (onMove)
                                 onMove(r0, c0, r1, c1, cancel);
                         });
        QObject::connect(grid, &FlexGrid::BeforeEdit, [this](int row, int col, bool &cancel) {
            log << QString("BeforeEdit %1,%2").arg(row).arg(col);
            if (onBeforeEdit)
                onBeforeEdit(row, col, cancel);
        });
        QObject::connect(grid, &FlexGrid::KeyPressEdit, [this](int row, int col, int &key) {
            log << QString("KeyPress %1,%2 %3").arg(row).arg(col).arg(key);
            if (onKeyPress)
                onKeyPress(row, col, key);
        });
        QObject::connect(grid, &FlexGrid::KeyUpEdit, [this](int row, int col, int, int) {
            log << QString("KeyUp %1,%2").arg(row).arg(col);
        });
        QObject::connect(grid, &FlexGrid::ChangeEdit, [this] {
            log << QString("Change %1").arg(grid->EditText());
        });
        QObject::connect(grid, &FlexGrid::AfterEdit, [this](int row, int col) {
            log << QString("AfterEdit %1,%2 %3").arg(row).arg(col).arg(grid->TextMatrix(row, col));
        });
    }

    // Keys go where the keyboard would send them: to the focused control of the window.
    void Type(const char *text)
    {
        for (const char *c = text; *c; ++c)
            QTest::keyClick(window.windowHandle(), *c);
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window.windowHandle(), key, modifiers);
    }
    // The mouse goes to whatever part of the grid is under the cell's centre.
    void Click(int row, int col, bool twice = false)
    {
        const QPoint centre = grid->CellRect(row, col).center();
        QWidget *under = grid->childAt(centre);
        ASSERT_NE(under, nullptr);
        if (twice)
            QTest::mouseDClick(under, Qt::LeftButton, Qt::NoModifier, under->mapFrom(grid, centre));
        else
            QTest::mouseClick(under, Qt::LeftButton, Qt::NoModifier, under->mapFrom(grid, centre));
    }
    // A short script of user and program actions, separated by blanks: key names ("Right",
    // "^End" with Ctrl, "+Tab" with Shift), "type:abc", "click:r,c", "dclick:r,c", "row:n",
    // "col:n", "edit" (EditCell) and "leave" (the focus to the button).
    void Do(const QString &script)
    {
        static const QHash<QString, Qt::Key> keys = {
            {"Up", Qt::Key_Up},          {"Down", Qt::Key_Down},       {"Left", Qt::Key_Left},
            {"Right", Qt::Key_Right},    {"Home", Qt::Key_Home},       {"End", Qt::Key_End},
            {"Tab", Qt::Key_Tab},        {"Backtab", Qt::Key_Backtab}, {"F2", Qt::Key_F2},
            {"Enter", Qt::Key_Return},   {"PadEnter", Qt::Key_Enter},  {"Esc", Qt::Key_Escape},
            {"Back", Qt::Key_Backspace}, {"Del", Qt::Key_Delete}};
        for (QString step : script.split(' ', Qt::SkipEmptyParts)) {
            const QString arg = step.section(':', 1);
            const int row = arg.section(',', 0, 0).toInt();
            const int col = arg.section(',', 1, 1).toInt();
            Qt::KeyboardModifiers modifiers;
            if (step.startsWith('^') || step.startsWith('+')) {
                modifiers = step.startsWith('^') ? Qt::ControlModifier : Qt::ShiftModifier;
                step.remove(0, 1);
            }
            if (keys.contains(step))
                Press(keys[step], modifiers);
            else if (step.startsWith("type:"))
                Type(arg.toLatin1().constData());
            else if (step.startsWith("click:"))
                Click(row, col);
            else if (step.startsWith("dclick:"))
                Click(row, col, true);
            else if (step.startsWith("row:"))
                grid->setRow(arg.toInt());
            else if (step.startsWith("col:"))
                grid->setCol(arg.toInt());
            else if (step == "edit")
                grid->EditCell();
            else if (step == "leave")
                button->setFocus(Qt::TabFocusReason);
            else
                ADD_FAILURE() << "unknown step " << step.toStdString();
        }
    }
    QWidget *Editor() const { return grid->findChild<QWidget *>("FlexGridEditor"); }
    // Starts from a given cell without recording the move there.
    void StartAt(int row, int col)
    {
        grid->setRow(row);
        grid->setCol(col);
        log.clear();
    }
};

// clang-format off

TEST(FlexGridEditing, TypingEnterAndEscape)
{
    const struct { const char *script; QString cell; QStringList log; } cases[] = {
        {"type:ab Enter", "ab", {"BeforeEdit 1,1", "KeyPress 1,1 97", "Change a", "KeyUp 1,1",
                                 "KeyPress 1,1 98", "Change ab", "KeyUp 1,1", "AfterEdit 1,1 ab"}},
        // Escape drops the edit without AfterEdit.
        {"type:z Esc", "old", {"BeforeEdit 1,1", "KeyPress 1,1 122", "Change z", "KeyUp 1,1"}},
        {"type:9 PadEnter", "9", {"BeforeEdit 1,1", "KeyPress 1,1 57", "Change 9", "KeyUp 1,1", "AfterEdit 1,1 9"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        GridWindow w;
        w.grid->setTextMatrix(1, Type, "old");
        w.StartAt(1, Type);
        w.Do(c.script);
        EXPECT_FALSE(w.grid->IsEditing());
        EXPECT_EQ(w.log, c.log);
        EXPECT_EQ(w.grid->TextMatrix(1, Type), c.cell);
        EXPECT_EQ(w.grid->Row(), 1);
        EXPECT_EQ(w.grid->Col(), Type);
        // The keyboard stays with the grid once the editor has gone.
        EXPECT_TRUE(w.grid->hasFocus());
    }
}

TEST(FlexGridEditing, KeysSentToTheGridItselfActAsTyped)
{
    GridWindow w;
    w.StartAt(1, Seq);
    QTest::keyClicks(w.grid, "12");
    QTest::keyClick(w.grid, Qt::Key_Tab);
    QTest::keyClick(w.grid, Qt::Key_Return);
    EXPECT_EQ(w.log, QStringList({"BeforeEdit 1,2", "KeyPress 1,2 49", "Change 1", "KeyUp 1,2", "KeyPress 1,2 50",
                                  "Change 12", "KeyUp 1,2", "AfterEdit 1,2 12", "Move 1,2>1,3", "BeforeEdit 1,3",
                                  "KeyUp 1,3"}));
    EXPECT_TRUE(w.grid->IsEditing());
}

// What the window's move handler does: nothing, what the batch window does (a move into the title
// column goes to the year of the current row instead), or refuse every move.
enum class OnMove { Allow, RedirectTitle, CancelAll };

// Moves and commits only (the log's Move and AfterEdit entries): any move while a cell is edited
// commits the edit first, and only then is the move decided, from the cell current after the
// commit; a handler's own move is announced inside the first.
TEST(FlexGridEditing, MovesCommitFirstAndFollowTheHandler)
{
    const struct { OnMove onMove; int row, col; const char *script; QStringList log; int endRow, endCol; } cases[] = {
        {OnMove::Allow, 2, Type, "type:x Right", {"AfterEdit 2,1 x", "Move 2,1>2,2"}, 2, Seq},
        {OnMove::Allow, 2, Type, "type:x Home Left", {"AfterEdit 2,1 x", "Move 2,1>2,0"}, 2, Year},
        {OnMove::Allow, 2, Type, "type:x Down", {"AfterEdit 2,1 x", "Move 2,1>3,1"}, 3, Type},
        {OnMove::Allow, 2, Type, "type:x Up", {"AfterEdit 2,1 x", "Move 2,1>1,1"}, 1, Type},
        {OnMove::Allow, 2, Type, "type:x Tab", {"AfterEdit 2,1 x", "Move 2,1>2,2"}, 2, Seq},
        {OnMove::Allow, 2, Type, "type:x +Backtab", {"AfterEdit 2,1 x", "Move 2,1>2,0"}, 2, Year},
        {OnMove::Allow, 2, Type, "type:x click:3,4", {"AfterEdit 2,1 x", "Move 2,1>3,4"}, 3, Holder},
        {OnMove::Allow, 2, Type, "type:x col:4", {"AfterEdit 2,1 x", "Move 2,1>2,4"}, 2, Holder},
        {OnMove::Allow, 2, Type, "type:x row:1", {"AfterEdit 2,1 x", "Move 2,1>1,1"}, 1, Type},
        {OnMove::Allow, 2, Type, "type:x leave", {"AfterEdit 2,1 x"}, 2, Type},
        // Within the text the arrows move the caret, not the cursor.
        {OnMove::Allow, 2, Type, "type:x Left type:9 Enter", {"AfterEdit 2,1 9x"}, 2, Type},
        {OnMove::Allow, 2, Seq, "click:3,3", {"Move 2,2>3,3"}, 3, Title},
        {OnMove::Allow, 2, Seq, "click:0,3", {}, 2, Seq}, // the header
        {OnMove::Allow, 2, Seq, "Up Left", {"Move 2,2>1,2", "Move 1,2>1,1"}, 1, Type},
        {OnMove::Allow, 2, Seq, "Up Up", {"Move 2,2>1,2"}, 1, Seq},
        {OnMove::Allow, 2, Seq, "Tab Tab Tab", {"Move 2,2>2,3", "Move 2,3>2,4", "Move 2,4>3,0"}, 3, Year},
        {OnMove::Allow, 2, Seq, "Home ^End", {"Move 2,2>2,0", "Move 2,0>3,4"}, 3, Holder},
        {OnMove::Allow, 2, Seq, "row:2 col:2", {}, 2, Seq}, // the same cell is no move
        {OnMove::Allow, 2, Seq, "Down Down Down", {"Move 2,2>3,2"}, 3, Seq},
        {OnMove::RedirectTitle, 1, Seq, "type:5 Right", {"AfterEdit 1,2 5", "Move 1,2>1,3", "Move 1,2>1,0"}, 1, Year},
        {OnMove::RedirectTitle, 1, Type, "click:3,3", {"Move 1,1>3,3", "Move 1,1>1,0"}, 1, Year},
        {OnMove::RedirectTitle, 2, Seq, "type:5 click:2,3", {"AfterEdit 2,2 5", "Move 2,2>2,3", "Move 2,2>2,0"}, 2, Year},
        {OnMove::RedirectTitle, 3, Holder, "col:3", {"Move 3,4>3,3", "Move 3,4>3,0"}, 3, Year},
        {OnMove::RedirectTitle, 3, Holder, "+Backtab", {"Move 3,4>3,3", "Move 3,4>3,0"}, 3, Year},
        {OnMove::CancelAll, 1, Year, "Down click:3,2 row:2 type:4 Tab",
         {"Move 1,0>2,0", "Move 1,0>3,2", "Move 1,0>2,0", "AfterEdit 1,0 4", "Move 1,0>1,1"}, 1, Year},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        GridWindow w;
        w.onMove = [&w, &c](int, int, int, int newCol, bool &cancel) {
            if (c.onMove == OnMove::CancelAll) {
                cancel = true;
            } else if (c.onMove == OnMove::RedirectTitle && newCol == Title) {
                w.grid->setCol(Year);
                cancel = true;
            }
        };
        w.StartAt(c.row, c.col);
        w.Do(c.script);
        EXPECT_EQ(w.log.filter(QRegularExpression("^(Move|AfterEdit) ")), c.log);
        EXPECT_EQ(w.grid->Row(), c.endRow);
        EXPECT_EQ(w.grid->Col(), c.endCol);
    }
}

TEST(FlexGridEditing, ACancelledBeforeEditTypesNothing)
{
    for (const char *script : {"type:x", "F2", "Enter", "click:2,4", "dclick:2,4", "edit"}) {
        SCOPED_TRACE(script);
        GridWindow w;
        w.onBeforeEdit = [](int, int col, bool &cancel) { cancel = col == Holder; };
        w.grid->setTextMatrix(2, Holder, "SMITH");
        w.StartAt(2, Holder);
        w.Do(script);
        EXPECT_FALSE(w.grid->IsEditing());
        EXPECT_EQ(w.Editor(), nullptr);
        EXPECT_EQ(w.grid->TextMatrix(2, Holder), "SMITH");
        EXPECT_FALSE(w.log.isEmpty());
        for (const QString &entry : w.log)
            EXPECT_EQ(entry, "BeforeEdit 2,4");
    }
}

TEST(FlexGridEditing, WaysToStartAnEdit)
{
    const struct { int editable; const char *script; QStringList log; } cases[] = {
        // The key that opened the editor is released in it.
        {FlexGrid::EditKeyboardMouse, "F2", {"BeforeEdit 1,2", "KeyUp 1,2"}},
        {FlexGrid::EditKeyboardMouse, "Enter", {"BeforeEdit 1,2", "KeyUp 1,2"}},
        {FlexGrid::EditKeyboardMouse, "click:1,2", {"BeforeEdit 1,2"}},
        {FlexGrid::EditKeyboardMouse, "dclick:1,2", {"BeforeEdit 1,2"}},
        {FlexGrid::EditNone, "type:4 F2 Enter", {}},
        {FlexGrid::EditNone, "edit", {"BeforeEdit 1,2"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        GridWindow w;
        w.grid->setEditable(c.editable);
        w.grid->setTextMatrix(1, Seq, "123");
        w.StartAt(1, Seq);
        w.Do(c.script);
        EXPECT_EQ(w.log, c.log);
        EXPECT_EQ(w.grid->IsEditing(), !c.log.isEmpty());
        if (!w.grid->IsEditing())
            continue;
        // Over its cell, with the keyboard, the whole text selected: typing replaces it.
        ASSERT_NE(w.Editor(), nullptr);
        EXPECT_TRUE(w.grid->CellRect(1, Seq).contains(w.Editor()->geometry().center() +
                                                      w.Editor()->parentWidget()->mapTo(w.grid, QPoint())));
        EXPECT_TRUE(w.Editor()->hasFocus());
        EXPECT_EQ(w.grid->EditText(), "123");
        EXPECT_EQ(w.grid->EditSelLength(), 3);
        w.Type("7");
        EXPECT_EQ(w.grid->EditText(), "7");
    }
}

TEST(FlexGridEditing, KeyPressHandlersReplaceAndDropCharacters)
{
    // Upper-case letters, drop digits, and make '-' a Backspace.
    const auto filter = [](int, int, int &key) {
        if (key >= 'a' && key <= 'z')
            key -= 32;
        else if (key >= '0' && key <= '9')
            key = 0;
        else if (key == '-')
            key = 8;
    };
    const struct { const char *typed; QString text; QStringList changes; } cases[] = {
        {"cr", "CR", {"Change C", "Change CR"}},
        {"c1r", "CR", {"Change C", "Change CR"}},
        {"12", "old", {}},
        {"ab-c", "AC", {"Change A", "Change AB", "Change A", "Change AC"}},
        {"A B", "A B", {"Change A", "Change A ", "Change A B"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        GridWindow w;
        w.onKeyPress = filter;
        w.grid->setTextMatrix(1, Type, "old");
        w.StartAt(1, Type);
        w.Type(c.typed);
        EXPECT_EQ(w.log.filter("Change"), c.changes);
        EXPECT_EQ(w.log.filter("KeyPress 1,1 ").size(), int(strlen(c.typed)));
        w.Do("Enter");
        EXPECT_EQ(w.grid->TextMatrix(1, Type), c.text);
    }
}

TEST(FlexGridEditing, ChangeEditOnEveryChangeOfTheText)
{
    GridWindow w;
    w.grid->setTextMatrix(1, Seq, "12");
    w.StartAt(1, Seq);
    w.Do("F2 End type:3 Back Home Del");
    EXPECT_EQ(w.log.filter("Change"), QStringList({"Change 123", "Change 12", "Change 2"}));
}

TEST(FlexGridEditing, MaximumLengthAndSelection)
{
    GridWindow w;
    w.onBeforeEdit = [&w](int, int col, bool &) {
        if (col == Year)
            w.grid->setEditMaxLength(4);
    };
    w.StartAt(1, Year);
    EXPECT_EQ(w.grid->EditText(), "");
    EXPECT_EQ(w.grid->EditSelLength(), 0);
    w.Type("200912");
    EXPECT_EQ(w.grid->EditText(), "2009");
    EXPECT_EQ(w.grid->EditMaxLength(), 4);
    w.Press(Qt::Key_Left, Qt::ShiftModifier);
    w.Press(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(w.grid->EditSelLength(), 2);
    w.Type("1");
    EXPECT_EQ(w.grid->EditText(), "201");
    // Characters beyond the limit are still reported, but change nothing.
    EXPECT_EQ(w.log.filter("KeyPress").size(), 7);
    EXPECT_EQ(w.log.filter("Change").size(), 5);
}

TEST(FlexGridEditing, DropDownListsOfferTheirItemsAndTakeTypedText)
{
    const struct { QString list; const char *typed; QStringList items; QString committed; } cases[] = {
        {"|CR|CV|TR", "zq", {"CR", "CV", "TR"}, "zq"},
        {"|CR|CV|TR", "CV", {"CR", "CV", "TR"}, "CV"},
        // Typed text is not completed from the list.
        {"|2026|2025|1999|1965", "19", {"2026", "2025", "1999", "1965"}, "19"},
        {"|#1;CR\tCriminal|#2;CV\tCivil", "x", {"CR", "CV"}, "x"},
        {"|", "AB", {}, "AB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.list.toStdString() + " / " + c.typed);
        GridWindow w;
        w.onKeyPress = [](int, int, int &key) { key = key == '.' ? 0 : key; };
        w.grid->setColComboList(Type, c.list);
        EXPECT_EQ(w.grid->ColComboList(Type), c.list);
        w.grid->setTextMatrix(2, Type, "CV");
        w.StartAt(2, Type);
        w.Type(c.typed);
        w.Type(".");
        auto *combo = qobject_cast<QComboBox *>(w.Editor());
        ASSERT_NE(combo, nullptr);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, c.items);
        // Each typed character went through the handler, which dropped the full stop.
        EXPECT_EQ(w.log.filter("KeyPress 2,1").size(), int(strlen(c.typed)) + 1);
        // Up and Down leave the cell rather than step through the list.
        w.Do("Down");
        EXPECT_EQ(w.grid->TextMatrix(2, Type), c.committed);
        EXPECT_EQ(w.log.filter("AfterEdit"), QStringList{"AfterEdit 2,1 " + c.committed});
        EXPECT_EQ(w.grid->Row(), 3);
    }
}

TEST(FlexGridEditing, PickingAnItemCompletesTheEdit)
{
    GridWindow w;
    w.grid->setColComboList(Type, "|CR|CV|TR");
    w.StartAt(1, Type);
    w.grid->EditCell();
    w.Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    // In the opened list the arrows step through the items; Enter picks one.
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(static_cast<QWidget *>(nullptr), key);
    EXPECT_FALSE(w.grid->IsEditing());
    EXPECT_EQ(w.grid->TextMatrix(1, Type), "TR");
    EXPECT_EQ(w.log, QStringList({"BeforeEdit 1,1", "Change TR", "AfterEdit 1,1 TR"}));
    EXPECT_TRUE(w.grid->hasFocus());
}

TEST(FlexGridEditing, HiddenCellsAreSkippedAndTabLeavesFromTheLast)
{
    GridWindow w(4);
    w.grid->setRowHidden(3, true);
    w.grid->setColHidden(Title, true);
    w.StartAt(2, Seq);
    w.Do("Down Right Right");
    EXPECT_EQ(w.log, QStringList({"Move 2,2>4,2", "Move 4,2>4,4"}));
    w.Do("Tab");
    EXPECT_TRUE(w.button->hasFocus());
    EXPECT_EQ(w.log.size(), 2);
}

TEST(FlexGridEditing, RowChangesEndAnEditOfACellThatMoves)
{
    const struct { const char *name; std::function<void(FlexGrid &)> change; bool stillEditing; int row; } cases[] = {
        {"appending keeps the edit", [](FlexGrid &g) { g.AddItem("a\tb"); }, true, 2},
        {"a row added above ends it", [](FlexGrid &g) { g.AddItem("a\tb", 1); }, false, 3},
        {"removing a row below keeps it", [](FlexGrid &g) { g.RemoveItem(3); }, true, 2},
        {"removing the row ends it", [](FlexGrid &g) { g.RemoveItem(2); }, false, 2},
        {"dropping the data rows ends it", [](FlexGrid &g) { g.setRows(1); }, false, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        GridWindow w;
        w.grid->setTextMatrix(2, Type, "CV");
        w.StartAt(2, Type);
        w.Type("T");
        c.change(*w.grid);
        EXPECT_EQ(w.grid->IsEditing(), c.stillEditing);
        EXPECT_EQ(w.grid->Row(), c.row);
        w.Do("Enter");
        EXPECT_EQ(w.log.filter("AfterEdit"), c.stillEditing ? QStringList{"AfterEdit 2,1 T"} : QStringList{});
    }
}

// clang-format on

} // namespace
