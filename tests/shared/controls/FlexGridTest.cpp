#include "QtPrinters.h"
#include "shared/controls/FlexGrid.h"

#include <QKeySequence>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// What the window's handlers do: nothing, turn a move into column 3 into one to column 0 of the
// current row, refuse every move or edit, or upper-case letters and drop digits.
enum class Handler { None, TitleToYear, CancelMoves, CancelEdits, UpperNoDigits };

// A real window with a grid of five columns and three data rows, every notification logged in
// the order raised; the handler runs after its entry, so nested notifications follow their cause.
struct GridWindow
{
    QWidget window;
    FlexGrid *grid = new FlexGrid(&window);
    QPushButton *button = new QPushButton("&Run", &window);
    QStringList log;

    explicit GridWindow(Handler h)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(button);
        grid->setCols(5);
        grid->setRows(4);
        grid->setTextMatrix(1, 1, "old");
        grid->setEditable(FlexGrid::EditKeyboardMouse);
        const auto at = [](int row, int col) { return QString("%1,%2").arg(row).arg(col); };
        QObject::connect(grid, &FlexGrid::BeforeRowColChange, [=, this](int r0, int c0, int r1, int c1, bool &cancel) {
            log << "Move " + at(r0, c0) + ">" + at(r1, c1);
            if (h == Handler::TitleToYear && c1 == 3)
                grid->setCol(0);
            cancel = h == Handler::CancelMoves || (h == Handler::TitleToYear && c1 == 3);
        });
        QObject::connect(grid, &FlexGrid::BeforeEdit, [=, this](int row, int col, bool &cancel) {
            log << "BeforeEdit " + at(row, col);
            cancel = h == Handler::CancelEdits;
        });
        QObject::connect(grid, &FlexGrid::KeyPressEdit, [=, this](int row, int col, int &key) {
            log << "Key " + at(row, col) + " " + QChar(key);
            if (h == Handler::UpperNoDigits)
                key = QChar(key).isDigit() ? 0 : QChar(key).toUpper().unicode();
        });
        QObject::connect(grid, &FlexGrid::KeyUpEdit, [=, this](int row, int col, int, int) { log << "Up " + at(row, col); });
        QObject::connect(grid, &FlexGrid::ChangeEdit, [this] { log << "Change " + grid->EditText(); });
        QObject::connect(grid, &FlexGrid::AfterEdit, [=, this](int row, int col) { log << "AfterEdit " + at(row, col) + " " + grid->TextMatrix(row, col); });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
    }

    // Steps separated by blanks: "type:abc", "col:n" (the program moves the cursor), "leave" (the
    // focus goes to the button), or a key's name.
    void Do(const QString &script)
    {
        for (const QString &step : script.split(' ')) {
            if (step.startsWith("type:"))
                for (const QChar c : step.mid(5))
                    QTest::keyClick(window.windowHandle(), c.toLatin1());
            else if (step.startsWith("col:"))
                grid->setCol(step.mid(4).toInt());
            else if (step == "leave")
                button->setFocus(Qt::TabFocusReason);
            else
                QTest::keySequence(window.windowHandle(), QKeySequence(step));
        }
    }
};

// clang-format off
TEST(FlexGridNotifications, WhichInWhatOrder)
{
    const struct { Handler handler; int col; const char *script; const char *log; int endCol; const char *cell; } cases[] = {
        {Handler::None, 1, "type:ab Return", "BeforeEdit 1,1; Key 1,1 a; Change a; Up 1,1; Key 1,1 b; Change ab; Up 1,1; AfterEdit 1,1 ab", 1, "ab"},
        // Escape drops the edit: no AfterEdit.
        {Handler::None, 1, "type:z Esc", "BeforeEdit 1,1; Key 1,1 z; Change z; Up 1,1", 1, "old"},
        // A move while a cell is edited commits it first.
        {Handler::None, 1, "type:x Right", "BeforeEdit 1,1; Key 1,1 x; Change x; Up 1,1; AfterEdit 1,1 x; Move 1,1>1,2", 2, "x"},
        {Handler::None, 1, "type:x col:4", "BeforeEdit 1,1; Key 1,1 x; Change x; Up 1,1; AfterEdit 1,1 x; Move 1,1>1,4", 4, "x"},
        {Handler::None, 1, "type:x leave", "BeforeEdit 1,1; Key 1,1 x; Change x; Up 1,1; AfterEdit 1,1 x", 1, "x"},
        // The handler's own move is raised inside the first, from the cell still current.
        {Handler::TitleToYear, 2, "Right", "Move 1,2>1,3; Move 1,2>1,0", 0, "old"},
        {Handler::TitleToYear, 1, "type:x Tab Tab", "BeforeEdit 1,1; Key 1,1 x; Change x; Up 1,1; AfterEdit 1,1 x; Move 1,1>1,2; Move 1,2>1,3; Move 1,2>1,0", 0, "x"},
        // A cancelled move leaves the cursor where it was.
        {Handler::CancelMoves, 0, "Down type:4 Tab", "Move 1,0>2,0; BeforeEdit 1,0; Key 1,0 4; Change 4; Up 1,0; AfterEdit 1,0 4; Move 1,0>1,1", 0, "old"},
        // A cancelled edit start opens no editor: nothing is typed.
        {Handler::CancelEdits, 1, "type:x F2 Return", "BeforeEdit 1,1; BeforeEdit 1,1; BeforeEdit 1,1", 1, "old"},
        // The handler's character is typed in place of the key; 0 drops it.
        {Handler::UpperNoDigits, 1, "type:c1r Return", "BeforeEdit 1,1; Key 1,1 c; Change C; Up 1,1; Key 1,1 1; Up 1,1; Key 1,1 r; Change CR; Up 1,1; AfterEdit 1,1 CR", 1, "CR"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        GridWindow w(c.handler);
        w.grid->setRow(1);
        w.grid->setCol(c.col);
        w.log.clear();
        w.Do(c.script);
        EXPECT_EQ(w.log.join("; "), QString(c.log));
        EXPECT_EQ(w.grid->Row(), 1);
        EXPECT_EQ(w.grid->Col(), c.endCol);
        EXPECT_EQ(w.grid->TextMatrix(1, 1), QString(c.cell));
    }
}
// clang-format on

} // namespace
