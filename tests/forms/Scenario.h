#pragma once

#include <QPoint>
#include <QStringList>

class QWidget;
class TestWorld;
class TraceCapture;

// What the windows' scenario tables share: the clerk's steps written as one line, and what came
// out read back as lines a table row can state.
namespace Scenario {

// Lines a table row writes as one, "; " between them.
QStringList Lines(const QString &text);
// The placement keys every window writes when it goes (a key alone: whatever the value).
inline const QString Placement = "FormHeight; FormLeft; FormTop; FormWidth; WindowState=0";
inline const QString Discard = "Exit: Discard changes? [Yes No]";
// The count message of the docket and batch runs.
QString Done(int n);

// Performs the clerk's steps on a window, separated by "; ":
//   "name"            click the named button or option, or trigger the named menu item
//   "name=text"       clear the named box and type the text into it
//   "name:Key"        press a key in the named control: Return, Escape, Delete, Backspace, the arrows,
//                     Home, End, PageUp, PageDown, Tab, Backtab, F2, F4 or a letter, after "Ctrl+" or not
//   "pick name=text"  choose the entry of the named list that shows the text
//   "click name"      click the named control at its right end (a box keeps its text)
//   "clip=text"       put the text on the clipboard
//   "keys=text"       type into whatever has the focus (the grid's editor follows its cursor)
//   "typed=text"      a person types the text and Enter there, 150 ms a key (the keys carry their times)
//   "scan=text"       a scanner types the text and Enter there, 5 ms a key
//   "keys:Key"        press a key there
//   "menu=name"       open the context menu there (as from the keyboard) and choose its item of that name
//   "close"           ask the window to close (its close box)
void Act(QWidget *window, const QString &steps);
// Opens the target's context menu at the point, by the mouse or the keyboard, and chooses the enabled
// item of that name.
void ChooseFromMenu(QWidget *target, const QPoint &at, bool mouse, const QString &item);

// The editor's loan as shown: "status | loaned to | date | by | save 1 delete 0" (the buttons enabled).
QString EditorShows(QWidget *editor);

// Today in the given form ("MMddyyyy", "MM/dd/yyyy", "yyyyMMdd").
QString Today(const char *format);
// The text with {today} (MMddyyyy), {TODAY} (MM/dd/yyyy) and {ymd} (yyyyMMdd), {iso} (yyyy-MM-dd) filled in.
QString Expand(const QString &text);
QStringList Expand(const QStringList &lines);

// The statements sent against the court's tables, in order, each with its bound values
// ("value:type" unless withTypes is false); the parties list and the case style's own reads
// are left out.
QStringList Sent(const TraceCapture &trace, bool withTypes = true);
// FILCHK as "2009-CV-123 PARTY 1052026 USER", in key order.
QStringList Court(const TestWorld &world);
// The log as "2009-CV-123 PARTY out auto USER" (out and auto 1 or 0), in the order written.
QStringList Logged(const TestWorld &world);

// Writes "Section/Key=value" entries into the component's settings store.
void Store(const TestWorld &world, const QStringList &entries);
// Every key of a section as "Key=value", sorted; a key that `alone` lists is given alone (written,
// whatever the value).
QStringList Section(const TestWorld &world, const QString &section, const QStringList &alone = {});
// Whether the actual lines are the expected ones, in order; an expected line ending in "*" only
// has to begin the actual one (for texts that differ by database, such as an engine's error).
bool Match(const QStringList &expected, const QStringList &actual);

} // namespace Scenario
