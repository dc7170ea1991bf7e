#pragma once

#include "records/CaseKey.h"

#include <QString>

// What one folder's label carries: the case and its title (the case style).
struct FolderLabel
{
    CaseKey key;
    QString title;

    // The barcode's text: the number run together ("2009CV000123", "2009T000123"), as the
    // component's own case-number reader takes it from a scanner; a type ending in a digit
    // cannot be run together unambiguously and keeps its dashes ("2009-J1-000123").
    static QString BarcodeText(const CaseKey &key);
    // The number as clerks read it: "2009-CV-000123", "2009-T-000123".
    static QString Dashed(const CaseKey &key);
};
