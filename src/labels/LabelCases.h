#pragma once

#include "FolderLabel.h"

#include <QList>

// The labels for a list of cases: each case once, in the order first listed, with its title from
// the case style program.
class LabelCases
{
public:
    // False, with *error, when the court could not be asked; the labels read until then stay.
    static bool Titled(const QList<CaseKey> &keys, QList<FolderLabel> *labels, QString *error);
};
