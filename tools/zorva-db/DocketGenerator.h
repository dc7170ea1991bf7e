#pragma once

#include "Court.h"

#include <QSqlDatabase>
#include <optional>

// Large dockets for benchmarks: many hearings on one date, each for a case of its own.
namespace DocketGenerator {

// Generated cases take sequences from here up, clear of the demo court and of hand-made cases.
inline constexpr qint32 FirstSequence = 500000;
inline constexpr qint32 LastSequence = 999999; // six digits, as case numbers are written

// hearings cases of date's year numbered from firstSequence, one hearing each on date, spread
// over the judges, rooms, times, branches and case types.
Court::Rows Build(const QDate &date, int hearings, qint32 firstSequence);

// The first sequence no generated case of year uses yet; nullopt with *error when the masters
// cannot be read.
std::optional<qint32> NextSequence(QSqlDatabase &db, qint16 year, QString *error);

} // namespace DocketGenerator
