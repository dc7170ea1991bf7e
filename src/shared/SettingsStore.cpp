#include "SettingsStore.h"

#include <QSettings>
#include <cmath>
#include <limits>

namespace SettingsStore {
namespace {

// "Venholt Dedezirive, Ltd\ZORVAFolders" is the INI file ZORVAFolders.ini in the folder of the
// maker, in the user's configuration folder.
std::unique_ptr<QSettings> Open(const QString &appName)
{
    const qsizetype cut = appName.lastIndexOf(QLatin1Char('\\'));
    const QString organization = cut < 0 ? QString() : appName.left(cut);
    const QString application = cut < 0 ? appName : appName.mid(cut + 1);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organization, application);
}

QString Path(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key, const QString &defaultValue)
{
    const QVariant v = Open(appName)->value(Path(section, key));
    return v.isValid() ? v.toString() : defaultValue;
}

bool GetBoolSetting(const QString &appName, const QString &section, const QString &key, bool defaultValue)
{
    return ToBool(GetSetting(appName, section, key), defaultValue);
}

qint32 GetLongSetting(const QString &appName, const QString &section, const QString &key, qint32 defaultValue)
{
    return ToLong(GetSetting(appName, section, key), defaultValue);
}

QDate GetDateSetting(const QString &appName, const QString &section, const QString &key, const QDate &defaultValue)
{
    const QString text = GetSetting(appName, section, key).trimmed();
    QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("MM/dd/yyyy"));
    return date.isValid() ? date : defaultValue;
}

void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    const auto settings = Open(appName);
    settings->setValue(Path(section, key), value);
    settings->sync();
}

void SaveBoolSetting(const QString &appName, const QString &section, const QString &key, bool value)
{
    SaveSetting(appName, section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void SaveLongSetting(const QString &appName, const QString &section, const QString &key, qint32 value)
{
    SaveSetting(appName, section, key, QString::number(value));
}

void SaveDateSetting(const QString &appName, const QString &section, const QString &key, const QDate &value)
{
    SaveSetting(appName, section, key, value.toString(Qt::ISODate));
}

bool ToBool(const QString &text, bool defaultValue)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    return ok ? number != 0 : defaultValue;
}

qint32 ToLong(const QString &text, qint32 defaultValue)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return defaultValue;
    const double rounded = std::nearbyint(number); // the default rounding mode: halves to even
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return defaultValue;
    return static_cast<qint32>(rounded);
}

} // namespace SettingsStore
