#pragma once

#include "Court.h"

#include <QRandomGenerator>

// The parties of a synthetic case, named as the clerks type them ("ABLE, JOHN").
namespace Litigants {

inline constexpr int NameLength = 35;

// Plaintiffs ("PL") then defendants ("DF"), at least one of each, fitting the case type:
// the state prosecutes criminal cases, a bank sues in a civil action, an estate opens probate.
QList<Court::Litigant> ForCase(const QString &caseType, QRandomGenerator &rng);

QString PersonName(QRandomGenerator &rng);

} // namespace Litigants
