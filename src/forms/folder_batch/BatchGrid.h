#pragma once

#include <QString>

// The batch grid's columns (their keys) and the title of a case the court does not hold, shared
// by the window's typing rules and its scan, paste and menu input.
namespace BatchGrid {

inline constexpr char WRKYER[] = "WRKYER";
inline constexpr char WRKTYP[] = "WRKTYP";
inline constexpr char WRKSEQ[] = "WRKSEQ";
inline constexpr char WRKNAM[] = "WRKNAM";
inline constexpr char WRKOTO[] = "WRKOTO";
inline const QString InvalidLitigant = QStringLiteral("INVALID LITIGANT");

} // namespace BatchGrid
