#pragma once

#include <QStringList>

#include "QtPrinters.h"

// Collects the statement trace (the "zorva.sql" category) while it lives: each entry is the
// statement text on its first line, then one line per bound value.
class TraceCapture
{
public:
    TraceCapture();
    ~TraceCapture();

    const QStringList &Entries() const;
};
