#pragma once

#include <QString>

// Text from the court, or pasted by a clerk, made safe to show as it is: every control character,
// invisible or direction-changing character and line separator written as a visible escape
// (\n, \t, \r, \x1b, \u202e, \u200b). A name must not be able to move a terminal's cursor,
// recolour it, hide itself, turn the rest of a line around or cut a message at a NUL.
namespace modVisibleText {

QString Visible(const QString &text);
// Whether the text holds such a character other than the tab (which parts a spreadsheet's cells).
bool HasHidden(const QString &text);

} // namespace modVisibleText
