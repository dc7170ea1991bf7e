#pragma once

#include <QDate>
#include <QString>

// The per-user store of remembered values, addressed by application name ("Venholt Dedezirive,
// Ltd\ZORVAFolders"), section and key. Values are kept as text: "True"/"False", decimal numbers.
// A value that does not convert (a hand-edited "abc") reads as the default, never as an error.
namespace SettingsStore {

inline constexpr char Maker[] = "Venholt Dedezirive, Ltd";

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue = {});
bool GetBoolSetting(const QString &appName, const QString &section, const QString &key, bool defaultValue);
// Decimal text to the nearest 32-bit integer, halves to even.
qint32 GetLongSetting(const QString &appName, const QString &section, const QString &key, qint32 defaultValue);
QDate GetDateSetting(const QString &appName, const QString &section, const QString &key, const QDate &defaultValue);

void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);
void SaveBoolSetting(const QString &appName, const QString &section, const QString &key, bool value);
void SaveLongSetting(const QString &appName, const QString &section, const QString &key, qint32 value);
void SaveDateSetting(const QString &appName, const QString &section, const QString &key, const QDate &value);

// The conversions on their own, for values read elsewhere.
bool ToBool(const QString &text, bool defaultValue);
qint32 ToLong(const QString &text, qint32 defaultValue);

} // namespace SettingsStore
