// zorva-db: creates court databases for ZORVAFolders, fills them with demo data and reads folders back.

#include "ConsoleText.h"
#include "CourtWriter.h"
#include "DemoCourt.h"
#include "DemoGuard.h"
#include "DocketGenerator.h"
#include "FolderReport.h"
#include "LocateCommands.h"
#include "Progress.h"
#include "ZorvaVersion.h"

#include "records/CaseKey.h"
#include "records/Connection.h"
#include "records/Schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>

namespace {

enum Exit { Ok = 0, Failed = 1, BadUsage = 2 };

const char Usage[] = R"(Usage: zorva-db <command> [arguments]

Commands:
  init URL                          create the court tables (existing tables and rows stay);
                                    the only command that makes a new court file
  seed-demo URL [--force]           write the demo county court (its cases are replaced); a
                                    court whose rows differ from the demo's is refused without --force
  generate URL --date yyyy-MM-dd --hearings N
                                    add N hearings on that date, each for a new case
  status CASE [--db URL]            who holds the case's folder
  history CASE [--db URL]           the folder's loans and returns, oldest first
%1
Each option is given once and never empty. Work that takes long shows its progress on a terminal.
Court text is printed with control characters escaped (\x1b, \n), times with their zone.
CASE is written 2009-CV-123, 2009 CV 123 or 2009CV000123.
URL is sqlite:/path/court.db, postgresql://user@host:port/dbname or odbc:<connection string>.
Without --db, the reading commands (status, history, where, holder, pull-list, overdue) use
ZORVA_DATABASE, else the stored setting, else this user's own court file. They only read: a
court file that does not exist is an error. Text output cuts a cell at %2 characters, and says
so; --csv gives every cell whole.
)";

QTextStream &Out()
{
    static QTextStream out(stdout);
    return out;
}

int Fail(Exit code, const QString &message)
{
    QTextStream(stderr) << "zorva-db: " << message << Qt::endl;
    return code;
}

int Refuse(const QString &message)
{
    return Fail(BadUsage, message + QStringLiteral("\nRun \"zorva-db --help\" for the commands."));
}

// The database of the command's URL, with the court tables in place.
QSqlDatabase OpenCourt(const QString &command, const QString &url, Connection::Access access, QString *error)
{
    Connection::Use(url, QStringLiteral("the URL given to zorva-db %1").arg(command), access);
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), error);
    // Opening creates the tables on a new file only; an older file may lack some.
    if (db.isValid() && Connection::BackendOf(db) == Connection::Backend::SQLite &&
        !Schema::Create(db, error))
        return {};
    return db;
}

int Init(const QString &url)
{
    QString error;
    QSqlDatabase db = OpenCourt(QStringLiteral("init"), url, Connection::Access::Create, &error);
    if (!db.isValid())
        return Fail(Failed, error);
    if (Connection::BackendOf(db) != Connection::Backend::SQLite && !Schema::Create(db, &error))
        return Fail(Failed, error);
    Out() << "Court tables ready in " << ConsoleText::CourtName(url) << Qt::endl;
    return Ok;
}

int SeedDemo(const QString &url, bool force)
{
    QString error;
    QSqlDatabase db = OpenCourt(QStringLiteral("seed-demo"), url, Connection::Access::Write, &error);
    if (!db.isValid())
        return Fail(Failed, error);
    const Court::Rows court = DemoCourt::Build(QDate::currentDate());
    QStringList differences;
    if (!DemoGuard::Differences(db, court, &differences, &error))
        return Fail(Failed, error);
    if (!differences.isEmpty() && !force)
        return Fail(Failed, QStringLiteral("%1 differs from the demo court: %2. Seeding would replace the records "
                                           "of the demo's case numbers and put %3 demo cases beside any others; "
                                           "nothing was written. Add --force to seed all the same.")
                                .arg(ConsoleText::CourtName(url), differences.join(QStringLiteral("; ")))
                                .arg(court.cases.size()));
    bool written = false;
    {
        Progress progress(QStringLiteral("seeding the demo court"));
        written = CourtWriter::Write(db, court, true, &error,
                                     [&progress](qint64 done, qint64 total) { progress.Step(done, total); });
    }
    if (!written)
        return Fail(Failed, QStringLiteral("writing the demo court failed: ") + error);
    Out() << "Demo court in " << ConsoleText::CourtName(url) << ": " << court.cases.size() << " cases, " << court.LitigantCount()
          << " litigants, " << court.hearings.size() << " hearings, " << court.loans.size() << " loans, "
          << court.log.size() << " log entries" << Qt::endl;
    return Ok;
}

int Generate(const QString &url, const QString &dateText, const QString &countText)
{
    const QDate date = QDate::fromString(dateText, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return Refuse(QStringLiteral("--date \"%1\" is not a date; write it as yyyy-MM-dd").arg(dateText));
    bool numeric = false;
    const int count = countText.toInt(&numeric);
    constexpr int most = DocketGenerator::LastSequence - DocketGenerator::FirstSequence + 1;
    if (!numeric || count < 1 || count > most)
        return Refuse(
            QStringLiteral("--hearings \"%1\" is not a number from 1 to %2").arg(countText).arg(most));

    QString error;
    QSqlDatabase db = OpenCourt(QStringLiteral("generate"), url, Connection::Access::Write, &error);
    if (!db.isValid())
        return Fail(Failed, error);
    const std::optional<qint32> first =
        DocketGenerator::NextSequence(db, static_cast<qint16>(date.year()), &error);
    if (!first)
        return Fail(Failed, error);
    if (*first + count - 1 > DocketGenerator::LastSequence)
        return Fail(Failed,
                    QStringLiteral("%1 more cases of %2 would pass sequence %3; generate for another year")
                        .arg(count)
                        .arg(date.year())
                        .arg(DocketGenerator::LastSequence));
    bool written = false;
    {
        Progress progress(QStringLiteral("writing %1 hearings").arg(count));
        const Court::Rows docket = DocketGenerator::Build(date, count, *first);
        written = CourtWriter::Write(db, docket, false, &error,
                                     [&progress](qint64 done, qint64 total) { progress.Step(done, total); });
    }
    if (!written)
        return Fail(Failed, QStringLiteral("writing the docket failed: ") + error);
    Out() << "Docket of " << date.toString(Qt::ISODate) << " in " << ConsoleText::CourtName(url) << ": " << count
          << " hearings, for new cases of " << date.year() << " numbered " << *first << " to "
          << *first + count - 1 << Qt::endl;
    return Ok;
}

int Report(const QString &command, const QStringList &caseWords, const QString &url)
{
    if (caseWords.size() != 1 && caseWords.size() != 3)
        return Refuse(QStringLiteral("%1 needs one case number, as 2009-CV-123, 2009 CV 123 or 2009CV000123")
                          .arg(command));
    const QString text = caseWords.join(QLatin1Char(' '));
    const std::optional<CaseKey> key = CaseKey::Parse(text);
    if (!key)
        return Refuse(QStringLiteral("\"%1\" is not a case number; write it as 2009-CV-123, 2009 CV 123 or "
                                     "2009CV000123")
                          .arg(text));
    // A report only reads: it never makes a court file, nor sets anything in one.
    Connection::Use(url, QStringLiteral("the --db option"), Connection::Access::ReadOnly);

    QString error;
    QStringList lines;
    const bool ok = command == QLatin1String("status")
                        ? FolderReport::Status(*key, &lines.emplaceBack(), &error)
                        : FolderReport::History(*key, &lines, &error);
    if (!ok)
        return Fail(Failed, error);
    Out() << "court: " << ConsoleText::CourtName(Connection::Current().url) << '\n';
    for (const QString &line : lines)
        Out() << line << '\n';
    Out().flush();
    return Ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorva-db"));

    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("usage"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("court database"),
                                QStringLiteral("URL"));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("hearing date"),
                                  QStringLiteral("date"));
    const QCommandLineOption hearings(QStringLiteral("hearings"), QStringLiteral("count"),
                                      QStringLiteral("N"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("version"));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("seed a court in use"));
    parser.addOptions({help, version, db, date, hearings, force});
    LocateCommands::AddOptions(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return Refuse(parser.errorText());
    if (parser.isSet(help)) {
        Out() << QString::fromLatin1(Usage).arg(QLatin1String(LocateCommands::Usage)).arg(LocateCommands::CellWidth);
        return Ok;
    }
    if (parser.isSet(version)) {
        Out() << "zorva-db " ZORVA_VERSION << Qt::endl;
        return Ok;
    }

    // A repeated option would silently take its last value, an empty one fall back on a default
    // (--db "" on the environment's court): both are more likely a script's mistake.
    const QStringList given = parser.optionNames(); // a flag given twice is there twice
    for (const QString &name : given) {
        const QStringList values = parser.values(name);
        if (values.size() > 1 || given.count(name) > 1)
            return Refuse(QStringLiteral("--%1 given more than once").arg(name));
        if (values.size() == 1 && values.first().trimmed().isEmpty())
            return Refuse(QStringLiteral("--%1 is empty").arg(name));
    }
    QStringList args = parser.positionalArguments();
    if (std::any_of(args.cbegin(), args.cend(), [](const QString &arg) { return arg.trimmed().isEmpty(); }))
        return Refuse(QStringLiteral("an argument is empty"));
    if (args.isEmpty())
        return Refuse(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    const bool report = command == QLatin1String("status") || command == QLatin1String("history");
    const bool generate = command == QLatin1String("generate");
    const bool seed = command == QLatin1String("seed-demo");
    const bool locate = LocateCommands::Handles(command);
    if (!report && !generate && !seed && !locate && command != QLatin1String("init"))
        return Refuse(QStringLiteral("unknown command \"%1\"").arg(command));

    // An option that the command does not take is more likely a mistake than something to ignore.
    for (const auto &[option, allowed] :
         {std::pair{&db, report}, {&date, generate}, {&hearings, generate}, {&force, seed}})
        if (parser.isSet(*option) && !allowed && !(locate && LocateCommands::Takes(command, option->names().constFirst())))
            return Refuse(QStringLiteral("%1 does not take --%2").arg(command, option->names().constFirst()));
    for (const QString &name : parser.optionNames())
        if (LocateCommands::Owns(name) && !LocateCommands::Takes(command, name))
            return Refuse(QStringLiteral("%1 does not take --%2").arg(command, name));
    if (locate) {
        QTextStream err(stderr);
        return LocateCommands::Run(command, args, parser, Out(), err);
    }

    if (report)
        return Report(command, args, parser.value(db));
    if (args.size() != 1)
        return Refuse(QStringLiteral("%1 needs exactly one database URL").arg(command));
    if (command == QLatin1String("init"))
        return Init(args.first());
    if (seed)
        return SeedDemo(args.first(), parser.isSet(force));
    if (!parser.isSet(date) || !parser.isSet(hearings))
        return Refuse(QStringLiteral("generate needs --date yyyy-MM-dd and --hearings N"));
    return Generate(args.first(), parser.value(date), parser.value(hearings));
}
