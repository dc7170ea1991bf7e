#pragma once

#include <QString>
#include <functional>

class QWidget;

// The text, then Enter, typed with the time of each key stamped on it, msPerKey apart (a person's
// 150 ms, a scanner's 5 ms), into whatever target() gives at each key (the grid's editor follows
// its cursor).
void TypeTimed(const std::function<QWidget *()> &target, const QString &text, int msPerKey);
