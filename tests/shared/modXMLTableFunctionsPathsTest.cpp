#include "shared/modXMLTableFunctionsPaths.h"
#include "TestWorld.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

using namespace modXMLTableFunctions;
using Platform::PathStyle;
using Outcome = Platform::ProgramFilesRead::Outcome;

TEST(InstallPaths, FromWhatTheSystemGave)
{
    const struct
    {
        PathStyle style;
        Outcome outcome;
        const char *value;
        const char *product, *clientTables;
    } cases[] = {
        {PathStyle::Windows, Outcome::ValueRead, "D:\\Apps", "D:\\Apps\\Venholt Dedezirive, Ltd",
         "D:\\Apps\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Windows, Outcome::ValueRead, "C:\\Program Files",
         "C:\\Program Files\\Venholt Dedezirive, Ltd",
         "C:\\Program Files\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Windows, Outcome::ValueRead, "%programfiles%",
         "C:\\Program Files\\Venholt Dedezirive, Ltd",
         "C:\\Program Files\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Windows, Outcome::ValueRead, "%ProgramFiles%",
         "C:\\Program Files\\Venholt Dedezirive, Ltd",
         "C:\\Program Files\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Windows, Outcome::ValueNotRead, "", "C:\\Program Files\\Venholt Dedezirive, Ltd",
         "C:\\Program Files\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        // No key: a folder at the root of the current drive.
        {PathStyle::Windows, Outcome::KeyNotOpened, "", "\\Venholt Dedezirive, Ltd",
         "\\Venholt Dedezirive, Ltd\\Common Files\\Tables\\Client\\"},
        {PathStyle::Posix, Outcome::ValueRead, "/opt", "/opt/Venholt Dedezirive, Ltd",
         "/opt/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"},
        {PathStyle::Posix, Outcome::ValueRead, "/srv/apps/", "/srv/apps/Venholt Dedezirive, Ltd",
         "/srv/apps/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"},
        {PathStyle::Posix, Outcome::ValueRead, "/", "/Venholt Dedezirive, Ltd",
         "/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"},
        {PathStyle::Posix, Outcome::ValueNotRead, "", "/opt/Venholt Dedezirive, Ltd",
         "/opt/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"},
    };
    for (const auto &c : cases) {
        const QString folder =
            Platform::ProgramFilesFolder({c.outcome, QString::fromLatin1(c.value)}, c.style);
        const QString product = ProductFolder(folder, c.style);
        EXPECT_EQ(product, QLatin1String(c.product)) << c.value;
        EXPECT_EQ(ClientTablesFolder(product, c.style), QLatin1String(c.clientTables)) << c.value;
    }
}

TEST(InstallPaths, OnlyTheEnvironmentsTrailingSlashIsJoined)
{
    // A registry value is taken as it is, whatever it ends with.
    EXPECT_EQ(ProductFolder("D:\\", PathStyle::Windows), "D:\\\\Venholt Dedezirive, Ltd");
    EXPECT_EQ(ProductFolder("/srv//apps", PathStyle::Posix), "/srv//apps/Venholt Dedezirive, Ltd");
}

#ifndef Q_OS_WIN

TEST(InstallPaths, TableFilesAreFoundByAppendingTheirName)
{
    TestWorld world;
    const bool had = qEnvironmentVariableIsSet(Platform::EnvironmentVariable);
    const QByteArray old = qgetenv(Platform::EnvironmentVariable);
    const auto restore = qScopeGuard([&] {
        if (had)
            qputenv(Platform::EnvironmentVariable, old);
        else
            qunsetenv(Platform::EnvironmentVariable);
    });

    // Unset or empty: the default.
    qunsetenv(Platform::EnvironmentVariable);
    EXPECT_EQ(ClientTablesFolder(), "/opt/Venholt Dedezirive, Ltd/Common Files/Tables/Client/");
    qputenv(Platform::EnvironmentVariable, "");
    EXPECT_EQ(ProductFolder(), "/opt/Venholt Dedezirive, Ltd");

    const QString programs = world.Path("programs");
    qputenv(Platform::EnvironmentVariable, programs.toUtf8());
    EXPECT_EQ(ProductFolder(), programs + "/Venholt Dedezirive, Ltd");
    const QString tables = programs + "/Venholt Dedezirive, Ltd/Common Files/Tables/Client";
    ASSERT_TRUE(QDir().mkpath(tables));
    QFile file(tables + "/ARYTYP.XML");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(QFile::exists(ClientTablesFolder() + "ARYTYP.XML"));
    EXPECT_FALSE(QFile::exists(ClientTablesFolder() + "ARYJDG.XML"));
}

#endif

} // namespace
