// zorva-db: creates court databases for ZORVAFolders, fills them with demo data and reads folders back.

#include "ConsoleText.h"
#include "CourtAudit.h"
#include "CourtWriter.h"
#include "DemoCourt.h"
#include "DemoGuard.h"
#include "DocketGenerator.h"
#include "FolderReport.h"
#include "LabelsCommand.h"
#include "LocateCommands.h"
#include "Progress.h"
#include "ZorvaVersion.h"

#include "forms/folder_locate/LocateReport.h"
#include "records/CaseKey.h"
#include "records/Connection.h"
#include "records/Schema.h"
#include "records/ServerRoles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>

namespace {

enum Exit { Ok = 0, Failed = 1, BadUsage = 2 };

const char Usage[] = R"(Usage: zorva-db <command> [arguments]

Commands:
  init URL                          create the court tables (existing tables and rows stay);
                                    the only command that makes a new court file; on
                                    PostgreSQL also the court's reader and clerk roles
  seed-demo URL [--force]           write the demo county court (its tables made anew); a
                                    court whose rows differ from the demo's is refused without
                                    --force
  generate URL --date yyyy-MM-dd --hearings N
                                    add N hearings on that date, each for a new case
  status CASE [--db URL]            who holds the case's folder
  history CASE [--db URL] [--all]   the folder's loans and returns, oldest first: the
                                    latest 50, or every one with --all
  grant reader|clerk LOGIN [--db URL]
                                    on PostgreSQL: makes LOGIN one of the court's readers (who
                                    may look but not change loans) or clerks
  audit [--db URL] [--since yyyy-MM-dd] [--csv]
                                    compares the loans with the log and verifies the log's
                                    chains: counts by kind, then each finding, oldest first;
                                    exit status 1 when anything is found
%1%2
Each option is given once and never empty. Work that takes long shows its progress on a terminal.
Court text is printed with control characters escaped (\x1b, \n), times with their zone.
CASE is written 2009-CV-123, 2009 CV 123 or 2009CV000123.
URL is sqlite:/path/court.db, postgresql://user@host:port/dbname or odbc:<connection string>.
Without --db, the reading commands (status, history, where, holder, pull-list, overdue, audit)
use ZORVA_DATABASE, else the stored setting, else this user's own court file. They only read: a
court file that does not exist is an error. Text output cuts a cell at %3 characters, and says
so; --csv gives every cell whole.
)";

QTextStream &Out()
{
    static QTextStream out(stdout);
    return out;
}

// The court a reading command read, first, as LocateCommands names it too.
void NameCourt() { Out() << "court: " << ConsoleText::CourtName(Connection::Current().url) << '\n'; }

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
    if (Connection::DialectOf(db) == Connection::Dialect::PostgreSQL && !ServerRoles::Apply(db, true, &error))
        return Fail(Failed, QStringLiteral("making the court's roles failed: ") + error);
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
        return Fail(Failed, QStringLiteral("%1 differs from the demo court: %2. Seeding makes the court's tables "
                                           "anew, holding the %3 demo cases only; nothing was written. Add --force "
                                           "to reset the court all the same.")
                                .arg(ConsoleText::CourtName(url), differences.join(QStringLiteral("; ")))
                                .arg(court.cases.size()));
    bool written = false;
    {
        Progress progress(QStringLiteral("seeding the demo court"));
        // A reset as the tables' owner: the log refuses to have its rows deleted.
        // Tables made anew have lost their grants: the roles init made get them back.
        written = Schema::Recreate(db, &error) &&
                  (Connection::DialectOf(db) != Connection::Dialect::PostgreSQL ||
                   ServerRoles::Apply(db, false, &error)) &&
                  CourtWriter::Write(db, court, &error,
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
        written = CourtWriter::Write(db, docket, &error,
                                     [&progress](qint64 done, qint64 total) { progress.Step(done, total); });
    }
    if (!written)
        return Fail(Failed, QStringLiteral("writing the docket failed: ") + error);
    Out() << "Docket of " << date.toString(Qt::ISODate) << " in " << ConsoleText::CourtName(url) << ": " << count
          << " hearings, for new cases of " << date.year() << " numbered " << *first << " to "
          << *first + count - 1 << Qt::endl;
    return Ok;
}

int Report(const QString &command, const QStringList &caseWords, const QString &url, bool all)
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
                        : FolderReport::History(*key, &lines, &error, all);
    if (!ok)
        return Fail(Failed, error);
    NameCourt();
    for (const QString &line : lines)
        Out() << line << '\n';
    Out().flush();
    return Ok;
}

int Grant(const QStringList &args, const QString &url)
{
    if (args.size() != 2 || (args[0] != QLatin1String(ServerRoles::Reader) && args[0] != QLatin1String(ServerRoles::Clerk)))
        return Refuse(QStringLiteral("grant needs reader or clerk, then the server login to give it to"));
    Connection::Use(url, QStringLiteral("the --db option"));
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid())
        return Fail(Failed, error);
    if (Connection::DialectOf(db) != Connection::Dialect::PostgreSQL)
        return Fail(Failed, QStringLiteral("roles are given on PostgreSQL courts only"));
    if (!ServerRoles::Grant(db, args[0], args[1], &error))
        return Fail(Failed, error);
    Out() << ConsoleText::Visible(args[1]) << " is now a " << args[0] << " of " << ConsoleText::CourtName(Connection::Current().url)
          << " (role " << ServerRoles::Name(db, args[0]) << ")" << Qt::endl;
    return Ok;
}

int Audit(const QString &url, const QString &sinceText, bool csv)
{
    QDate since;
    if (!sinceText.isEmpty()) {
        since = QDate::fromString(sinceText, QStringLiteral("yyyy-MM-dd"));
        if (!since.isValid())
            return Refuse(QStringLiteral("--since \"%1\" is not a date; write it as yyyy-MM-dd").arg(sinceText));
    }
    // An audit only reads: it never makes a court file, nor sets anything in one.
    Connection::Use(url, QStringLiteral("the --db option"), Connection::Access::ReadOnly);
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    CourtAudit::Report report;
    if (!db.isValid() || !CourtAudit::Run(db, since, QDate::currentDate(), &report, &error))
        return Fail(Failed, error);
    if (csv) {
        Out() << LocateReport::Csv({QStringLiteral("kind"), QStringLiteral("case"), QStringLiteral("when"),
                                    QStringLiteral("detail")},
                                   CourtAudit::Rows(report));
    } else {
        NameCourt();
        for (const QString &line : CourtAudit::Lines(report))
            Out() << line << '\n';
    }
    Out().flush();
    return report.findings.isEmpty() ? Ok : Failed;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = LabelsCommand::Application(argc, argv);
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
    const QCommandLineOption since(QStringLiteral("since"), QStringLiteral("first date audited"),
                                   QStringLiteral("date"));
    parser.addOptions({help, version, db, date, hearings, force, since});
    LocateCommands::AddOptions(parser);
    LabelsCommand::AddOptions(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return Refuse(parser.errorText());
    if (parser.isSet(help)) {
        Out() << QString::fromLatin1(Usage)
                     .arg(QLatin1String(LocateCommands::Usage), QLatin1String(LabelsCommand::Usage))
                     .arg(LocateCommands::CellWidth);
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
    const bool labels = LabelsCommand::Handles(command);
    const bool audit = command == QLatin1String("audit");
    const bool grant = command == QLatin1String("grant");
    if (!report && !generate && !seed && !locate && !labels && !audit && !grant && command != QLatin1String("init"))
        return Refuse(QStringLiteral("unknown command \"%1\"").arg(command));

    // An option that the command does not take is more likely a mistake than something to ignore.
    for (const auto &[option, allowed] :
         {std::pair{&db, report || audit || grant}, {&date, generate}, {&hearings, generate}, {&force, seed}, {&since, audit}})
        if (parser.isSet(*option) && !allowed && !(locate && LocateCommands::Takes(command, option->names().constFirst())) &&
            !LabelsCommand::Takes(command, option->names().constFirst()))
            return Refuse(QStringLiteral("%1 does not take --%2").arg(command, option->names().constFirst()));
    for (const QString &name : parser.optionNames())
        if ((LocateCommands::Owns(name) && !LocateCommands::Takes(command, name) &&
             !LabelsCommand::Takes(command, name) && !(audit && name == QLatin1String("csv")) &&
             !(command == QLatin1String("history") && name == QLatin1String("all"))) ||
            (LabelsCommand::Owns(name) && !LabelsCommand::Takes(command, name)))
            return Refuse(QStringLiteral("%1 does not take --%2").arg(command, name));
    if (locate) {
        QTextStream err(stderr);
        return LocateCommands::Run(command, args, parser, Out(), err);
    }

    if (labels) {
        QTextStream err(stderr);
        return LabelsCommand::Run(args, parser, Out(), err);
    }
    if (report)
        return Report(command, args, parser.value(db), parser.isSet(QStringLiteral("all")));
    if (grant)
        return Grant(args, parser.value(db));
    if (audit) {
        if (!args.isEmpty())
            return Refuse(QStringLiteral("audit takes options only, not \"%1\"").arg(args.join(QLatin1Char(' '))));
        return Audit(parser.value(db), parser.value(since), parser.isSet(QStringLiteral("csv")));
    }
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
