#pragma once

#include <QDateTime>
#include <QString>

// How zorva-db shows what it read on an administrator's terminal.
namespace ConsoleText {

// Court text with every control, invisible and direction-changing character escaped
// (modVisibleText): a name in the court's tables must not act on the terminal.
QString Visible(const QString &text);

// The database URL to name the court by, its password replaced by *** and control characters
// escaped.
QString CourtName(const QString &url);

// "yyyy-MM-dd HH:mm:ss" in local time, with the zone as its offset: "... UTC+09:00", or "... UTC".
QString Zoned(const QDateTime &when);

} // namespace ConsoleText
