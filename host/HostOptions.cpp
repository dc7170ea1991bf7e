#include "HostOptions.h"

#include "records/CaseKey.h"
#include "records/MaskedUrl.h"

#include <QCommandLineParser>

namespace {

const QString DatabaseOption = QStringLiteral("database");
const QString ProgramFilesOption = QStringLiteral("program-files");
const QString EditOption = QStringLiteral("edit");
const QString ScreenshotsOption = QStringLiteral("screenshots");
const QString HelpOption = QStringLiteral("help");
const QString VersionOption = QStringLiteral("version");

void Describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("ZORVA Folders demo host: opens the folder windows."));
    parser.addOption(
        {DatabaseOption,
         QStringLiteral("Court database (sqlite:/path/court.db, postgresql://user@host:port/dbname "
                        "or odbc:<connection string>); default: ZORVA_DATABASE."),
         QStringLiteral("URL")});
    parser.addOption(
        {ProgramFilesOption,
         QStringLiteral("Folder holding \"Venholt Dedezirive, Ltd/Common Files/Tables/Client/\"; "
                        "default: ZORVA_PROGRAM_FILES, else /opt."),
         QStringLiteral("DIR")});
    parser.addOption({EditOption, QStringLiteral("Open the folder loan editor for CASE at once."),
                      QStringLiteral("CASE")});
    parser.addOption(
        {ScreenshotsOption,
         QStringLiteral(
             "Open each window in turn, save a picture of it into DIR and quit; needs no display."),
         QStringLiteral("DIR")});
    parser.addOption({{QStringLiteral("h"), HelpOption}, QStringLiteral("Show this help.")});
    parser.addOption({VersionOption, QStringLiteral("Show the version.")});
}

} // namespace

HostOptionsResult ParseHostOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    if (!parser.parse(arguments))
        return {std::nullopt, parser.errorText()};
    if (!parser.positionalArguments().isEmpty())
        return {std::nullopt,
                QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().constFirst())};
    // Given twice is most likely a script that appended to a command it did not read.
    for (const QString &name : {DatabaseOption, ProgramFilesOption, EditOption, ScreenshotsOption})
        if (parser.values(name).size() > 1)
            return {std::nullopt, QStringLiteral("--%1 given more than once.").arg(name)};

    HostOptions options;
    options.help = parser.isSet(HelpOption);
    options.version = parser.isSet(VersionOption);
    options.database = parser.value(DatabaseOption);
    options.programFiles = parser.value(ProgramFilesOption);
    options.editCase = parser.value(EditOption).trimmed();
    options.screenshots = parser.value(ScreenshotsOption);

    if (parser.isSet(DatabaseOption) && !IsDatabaseUrl(options.database))
        return {std::nullopt,
                QStringLiteral("--database: \"%1\" is not a court database URL; use sqlite:/path/court.db, "
                               "postgresql://user@host:port/dbname or odbc:<connection string>.")
                    .arg(MaskedUrl(options.database))};
    if (parser.isSet(ProgramFilesOption) && options.programFiles.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("--program-files: the folder is empty.")};
    if (parser.isSet(ScreenshotsOption) && options.screenshots.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("--screenshots: the folder is empty.")};
    if (parser.isSet(EditOption) && !CaseKey::Parse(options.editCase))
        return {std::nullopt, QStringLiteral("--edit: ") + CaseNumberProblem(options.editCase)};
    return {options, {}};
}

QString HostUsage()
{
    QCommandLineParser parser;
    Describe(parser);
    // Without an application object Qt leaves the program's name out of the first line.
    QString text = parser.helpText();
    return QStringLiteral("Usage: zorva-host [options]") + text.mid(text.indexOf(QLatin1Char('\n')));
}

QString DefaultUserName(const QString &user, const QString &logName)
{
    const QString name = user.trimmed().isEmpty() ? logName : user;
    return name.trimmed().toUpper();
}

bool IsDatabaseUrl(const QString &url)
{
    static const char *const schemes[] = {"sqlite:", "postgresql://", "postgres://", "odbc:"};
    for (const char *scheme : schemes) {
        const QLatin1String prefix(scheme);
        if (url.startsWith(prefix) && url.size() > prefix.size())
            return true;
    }
    return false;
}

QString CaseNumberProblem(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("Type a case number, such as 2009-CV-123.");
    return QStringLiteral(
               "\"%1\" is not a case number. Write it as 2009-CV-123, 2009 CV 123 or 2009CV000123.")
        .arg(text.trimmed());
}
