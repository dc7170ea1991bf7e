#include "TestWorld.h"
#include "shared/SettingsStore.h"

#include <QSettings>
#include <optional>
#include <gtest/gtest.h>

namespace {

using namespace SettingsStore;

// A text that does not convert reads as the caller's default (none here).
TEST(SettingsStore, TextFormsReadBack)
{
    const struct { const char *text; std::optional<bool> asBool; std::optional<qint32> asLong; } cases[] = {
        {"True", true, {}},    {"False", false, {}},  {" true ", true, {}},  {"FALSE", false, {}},
        {"-1", true, -1},      {"0", false, 0},       {"830", true, 830},    {"2.5", true, 2},
        {"3.5", true, 4},      {"-2.5", true, -2},    {"1.51", true, 2},     {"1e3", true, 1000},
        {"abc", {}, {}},       {"12abc", {}, {}},     {"", {}, {}},          {"2147483648", true, {}},
        {"-2147483649", true, {}}, {"inf", true, {}}, {"nan", true, {}},
    };
    for (const auto &c : cases) {
        for (const bool byDefault : {false, true})
            EXPECT_EQ(ToBool(QLatin1String(c.text), byDefault), c.asBool.value_or(byDefault)) << c.text;
        EXPECT_EQ(ToLong(QLatin1String(c.text), -7), c.asLong.value_or(-7)) << c.text;
    }
}

TEST(SettingsStore, SavedAsTheTextOtherProgramsRead)
{
    TestWorld world;
    const QString app = QStringLiteral("Venholt Dedezirive, Ltd\\ZORVAFolders");
    SaveBoolSetting(app, "FolderEdit", "LoggingAuto", true);
    SaveBoolSetting(app, "FolderEdit", "LoggingManual", false);
    SaveLongSetting(app, "FolderDocket", "BeginTime", 830);
    QSettings raw(QSettings::IniFormat, QSettings::UserScope, "Venholt Dedezirive, Ltd", "ZORVAFolders");
    EXPECT_EQ(raw.value("FolderEdit/LoggingAuto").toString(), "True");
    EXPECT_EQ(raw.value("FolderEdit/LoggingManual").toString(), "False");
    EXPECT_EQ(raw.value("FolderDocket/BeginTime").toString(), "830");
    EXPECT_EQ(GetLongSetting("Venholt Dedezirive, Ltd\\ZORVA", "FolderDocket", "BeginTime", -1), -1);
}

} // namespace
