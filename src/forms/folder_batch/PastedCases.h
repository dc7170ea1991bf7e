#pragma once

#include "records/CaseKey.h"

#include <QList>
#include <QStringList>

// What a list pasted into the batch window holds: the case numbers, in their order, and the
// lines that are none, each as "line N: text" for the message that tells the clerk.
struct PastedCases
{
    QList<CaseKey> cases;
    QStringList refused;
};

// One case a line, in any form CaseKey::Parse reads, or a spreadsheet row whose three non-empty
// cells are year, type and sequence; a two-digit year is completed as typing completes it. Lines
// end in CR LF, LF or CR; blank lines are passed over.
PastedCases ReadPastedCases(const QString &text);

// How many refused lines the clerk's box lists; past that it says how many more there are.
inline constexpr qsizetype RefusalsShown = 20;
// Characters of one refused line shown; a longer one ends in an ellipsis.
inline constexpr qsizetype RefusalWidth = 80;

// The refused lines, one a line, cut after RefusalsShown with "and N more" and each cut to
// RefusalWidth: a box listing thousands, or one endless line, would not fit any screen, its
// OK button out of reach.
QString RefusalList(const QStringList &refused);
