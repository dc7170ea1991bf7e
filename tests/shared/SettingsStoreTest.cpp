#include "TestWorld.h"
#include "shared/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

using namespace SettingsStore;

const QString App = QStringLiteral("Venholt Dedezirive, Ltd\\ZORVAFolders");

class SettingsStoreTest : public ::testing::Test
{
protected:
    TestWorld world;
};

TEST_F(SettingsStoreTest, RoundTripsAsText)
{
    SaveBoolSetting(App, "FolderEdit", "mnuAppEditPreferencesLoggingAuto", true);
    SaveBoolSetting(App, "FolderEdit", "mnuAppEditPreferencesLoggingManual", false);
    SaveLongSetting(App, "FolderDocket", "BeginTime", 830);
    SaveSetting(App, "FolderDocket", "Judge", "O'NEIL *ALL");
    SaveDateSetting(App, "FolderDocket", "HearingDate", QDate(2005, 12, 31));

    EXPECT_TRUE(GetBoolSetting(App, "FolderEdit", "mnuAppEditPreferencesLoggingAuto", false));
    EXPECT_FALSE(GetBoolSetting(App, "FolderEdit", "mnuAppEditPreferencesLoggingManual", true));
    EXPECT_EQ(GetLongSetting(App, "FolderDocket", "BeginTime", 0), 830);
    EXPECT_EQ(GetSetting(App, "FolderDocket", "Judge", "*ALL"), "O'NEIL *ALL");
    EXPECT_EQ(GetDateSetting(App, "FolderDocket", "HearingDate", QDate()), QDate(2005, 12, 31));

    // The stored texts are those other programs of the suite read: "True"/"False", digits.
    QSettings raw(QSettings::IniFormat, QSettings::UserScope, "Venholt Dedezirive, Ltd", "ZORVAFolders");
    EXPECT_EQ(raw.value("FolderEdit/mnuAppEditPreferencesLoggingAuto").toString(), "True");
    EXPECT_EQ(raw.value("FolderEdit/mnuAppEditPreferencesLoggingManual").toString(), "False");
    EXPECT_EQ(raw.value("FolderDocket/BeginTime").toString(), "830");
    EXPECT_TRUE(QFile::exists(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini")));
}

TEST_F(SettingsStoreTest, MissingValuesReadAsTheDefault)
{
    EXPECT_EQ(GetSetting(App, "FolderDocket", "Room", "*ALL"), "*ALL");
    EXPECT_FALSE(GetBoolSetting(App, "FolderEdit", "mnuAppEditPreferencesLoggingAuto", false));
    EXPECT_EQ(GetLongSetting(App, "FolderBatch", "FormLeft", 0), 0);
    EXPECT_EQ(GetDateSetting(App, "FolderDocket", "HearingDate", QDate(2026, 12, 5)), QDate(2026, 12, 5));
}

TEST_F(SettingsStoreTest, ApplicationsAndSectionsAreApart)
{
    const QString grid = QStringLiteral("Venholt Dedezirive, Ltd\\ZORVA");
    SaveLongSetting(grid, "GridColors", "GridBackColor", 12763045);
    SaveLongSetting(App, "FolderEdit", "FormLeft", 100);
    EXPECT_EQ(GetLongSetting(App, "GridColors", "GridBackColor", 0), 0);
    EXPECT_EQ(GetLongSetting(grid, "GridColors", "GridBackColor", 0), 12763045);
    EXPECT_EQ(GetLongSetting(App, "FolderBatch", "FormLeft", -1), -1);
}

TEST(SettingsConversions, Booleans)
{
    const struct
    {
        const char *text;
        bool defaultValue, expected;
    } cases[] = {
        {"True", false, true}, {"False", true, false}, {"true", false, true}, {" FALSE ", true, false},
        {"-1", false, true},   {"0", true, false},     {"abc", true, true},   {"abc", false, false},
        {"", true, true},      {"Truely", false, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToBool(QLatin1String(c.text), c.defaultValue), c.expected) << c.text;
}

TEST(SettingsConversions, NumbersToNearestHalvesToEven)
{
    const struct
    {
        const char *text;
        qint32 expected;
    } cases[] = {
        {"830", 830},          {" 15 ", 15},          {"-120", -120},       {"2.5", 2},
        {"3.5", 4},            {"-2.5", -2},          {"1.49", 1},          {"1.51", 2},
        {"2147483647", 2147483647}, {"2147483648", -7}, {"-2147483649", -7}, {"abc", -7},
        {"", -7},              {"12abc", -7},         {"1e3", 1000},        {"nan", -7},
        {"inf", -7},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToLong(QLatin1String(c.text), -7), c.expected) << c.text;
}

TEST_F(SettingsStoreTest, HandEditedValuesReadAsTheDefault)
{
    QSettings raw(QSettings::IniFormat, QSettings::UserScope, "Venholt Dedezirive, Ltd", "ZORVAFolders");
    raw.setValue("FolderDocket/HearingDate", "not a date");
    raw.setValue("FolderDocket/EndTime", "abc");
    raw.sync();
    EXPECT_EQ(GetDateSetting(App, "FolderDocket", "HearingDate", QDate(2026, 1, 5)), QDate(2026, 1, 5));
    EXPECT_EQ(GetLongSetting(App, "FolderDocket", "EndTime", 0), 0);
}

} // namespace
