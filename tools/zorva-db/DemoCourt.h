#pragma once

#include "Court.h"

// The demo county court: a few hundred civil and criminal cases filed 2022 to 2026, hearings on
// the days around today, some folders out on loan with their history. The same day always gives
// the same court.
namespace DemoCourt {

Court::Rows Build(const QDate &today);

} // namespace DemoCourt
