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
