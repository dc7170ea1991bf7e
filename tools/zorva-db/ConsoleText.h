#pragma once

#include <QDateTime>
#include <QString>

// How zorva-db shows what it read on an administrator's terminal.
namespace ConsoleText {

// Court text with every control character (and bidirectional override, line separator) written
// as a visible escape, \n, \t, \r, \x1b or \u202e: a name in the court's tables must not be able
// to move the cursor, recolour or rewrite the terminal it is printed on.
QString Visible(const QString &text);

// The database URL to name the court by, its password replaced by *** and control characters
// escaped.
QString CourtName(const QString &url);

// "yyyy-MM-dd HH:mm:ss" in local time, with the zone as its offset: "... UTC+09:00", or "... UTC".
QString Zoned(const QDateTime &when);

} // namespace ConsoleText
