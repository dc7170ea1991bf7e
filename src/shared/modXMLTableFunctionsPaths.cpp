#include "modXMLTableFunctionsPaths.h"

#include "shared/SettingsStore.h"

#include <QStringList>

namespace modXMLTableFunctions {

QString ProductFolder(const QString &programFilesFolder, Platform::PathStyle style)
{
    const QChar sep = Platform::Separator(style);
    // A registry value is taken as it is; a folder typed into the environment often carries a
    // trailing slash, which must not double.
    const bool joined = style == Platform::PathStyle::Posix && programFilesFolder.endsWith(sep);
    return programFilesFolder + (joined ? QString() : QString(sep)) +
           QString::fromLatin1(SettingsStore::Maker);
}

QString ClientTablesFolder(const QString &productFolder, Platform::PathStyle style)
{
    const QChar sep = Platform::Separator(style);
    const QStringList parts = {QStringLiteral("Common Files"), QStringLiteral("Tables"),
                               QStringLiteral("Client")};
    return productFolder + sep + parts.join(sep) + sep;
}

QString ProductFolder()
{
    return ProductFolder(Platform::ProgramFilesValue(), Platform::NativePathStyle);
}

QString ClientTablesFolder()
{
    return ClientTablesFolder(ProductFolder(), Platform::NativePathStyle);
}

} // namespace modXMLTableFunctions
