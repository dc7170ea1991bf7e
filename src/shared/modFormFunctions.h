#pragma once

#include <QString>
#include <QStringList>

class QPushButton;
class QWidget;

// The checks and messages the windows share. Every message box of the component goes through
// MsgBox.
namespace modFormFunctions {

enum class Buttons { OkOnly, YesNo };
enum class Icon { None = 0, Warning = 2, Critical = 3 }; // QMessageBox's numbers
enum class Answer { Ok, Yes, No };

// Shows a modal message box; an empty title gives the component's name. A Yes/No question has
// No as its default button.
Answer MsgBox(const QString &text, const QString &title = {}, Buttons buttons = Buttons::OkOnly,
              Icon icon = Icon::None);

// The close guard: while indicator (the window's Save or Run button) is enabled, asks "Discard
// changes?"; any answer but Yes sets cancel. Returns whether the close was cancelled.
bool ConfirmDiscardChanges(const QWidget *indicator, bool &cancel);

// The text without the spaces at both ends; tabs and line breaks are text, not blanks.
QString TrimBlanks(QString text);

// True, after reporting "A required field is missing." at the field, when its text is empty
// once the spaces at both ends are removed (tabs count as text).
bool RequiredFieldMissing(QWidget *field);

// Focus to the field when it is enabled, then the message titled "Error" (none when empty).
void ShowFieldError(QWidget *field, const QString &message);

// Lines for a box that must fit the screen: the first shown lines, then "and N more".
QString ShortList(const QStringList &lines, qsizetype shown = 20);

// A push button a test finds by its name; not a window's default on focus (Enter on it presses
// it, and the window's own default stays as it is).
QPushButton *NamedButton(const char *name, const QString &caption);

// Makes DataObject::HandleError show its description in a box titled "Data Error".
void InstallDataErrorPresenter();

} // namespace modFormFunctions
