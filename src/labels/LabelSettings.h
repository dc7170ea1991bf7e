#pragma once

#include <QString>

// The court's name printed on every label, from the settings file that the component and
// zorva-db both read: ZORVAFolders.ini, [Labels] CourtName. Not set: the labels leave it out.
namespace LabelSettings {

inline constexpr char ApplicationName[] = "Venholt Dedezirive, Ltd\\ZORVAFolders";
inline constexpr char Section[] = "Labels";
inline constexpr char CourtNameKey[] = "CourtName";

QString CourtName();

} // namespace LabelSettings
