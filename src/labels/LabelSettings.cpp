#include "LabelSettings.h"

#include "shared/SettingsStore.h"

namespace LabelSettings {

QString CourtName()
{
    return SettingsStore::GetSetting(QLatin1String(ApplicationName), QLatin1String(Section), QLatin1String(CourtNameKey))
        .trimmed();
}

} // namespace LabelSettings
