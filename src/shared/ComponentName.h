#pragma once

#include <QString>

// The name under which the component keeps its settings: the maker's name, a backslash and the
// file name, without extension, of the module this code was loaded from ("ZORVAFolders" when it
// runs as ZORVAFolders.so / ZORVAFolders.dll).
namespace ComponentName {

QString ModuleBaseName();
// "Venholt Dedezirive, Ltd\ZORVAFolders"
QString ApplicationName();

} // namespace ComponentName
