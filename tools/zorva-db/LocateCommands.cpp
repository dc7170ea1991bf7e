#include "LocateCommands.h"

#include "ConsoleText.h"
#include "TextTable.h"

#include "forms/folder_locate/LocateLists.h"
#include "forms/folder_locate/LocateQueries.h"
#include "forms/folder_locate/LocateReport.h"
#include "records/Connection.h"
#include "records/DataObject.h"
#include "util/modDateTimeFunctions.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace LocateCommands {
namespace {

enum Exit { Ok = 0, Failed = 1, BadUsage = 2 };

// As the locator window: the first overdue list holds the folders out longest.
constexpr int OverduePage = 500;

const QStringList Own{"csv", "all", "days", "begin", "end", "judge", "room", "branch"};

int Refuse(QTextStream &err, const QString &message)
{
    err << "zorva-db: " << message << "\nRun \"zorva-db --help\" for the commands." << Qt::endl;
    return BadUsage;
}

QList<QStringList> Visible(QList<QStringList> rows)
{
    for (QStringList &row : rows)
        for (QString &cell : row)
            cell = ConsoleText::Visible(cell);
    return rows;
}

// The list as text, below the court it was read from.
TextTable Table(const QString &heading, const QStringList &columns, QTextStream &out)
{
    return TextTable(out, QStringLiteral("court: ") + ConsoleText::CourtName(Connection::Current().url) + '\n' + heading,
                     columns);
}

void Print(const LocateLists::List &list, bool csv, QTextStream &out)
{
    if (csv) {
        out << LocateReport::Csv(list.columns, Visible(list.rows));
        out.flush();
        return;
    }
    TextTable table = Table(list.heading, list.columns, out);
    table.Add(list.rows);
    table.End();
}

// The court text of the heading's location line made visible, and the history's times zoned.
LocateQueries::Location Shown(LocateQueries::Location where)
{
    if (where.loan) {
        where.loan->holder = ConsoleText::Visible(where.loan->holder);
        where.loan->user = ConsoleText::Visible(where.loan->user);
    }
    for (LocateQueries::Custody &entry : where.history) {
        const QDateTime local = QDateTime::fromString(entry.when, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (local.isValid())
            entry.when = ConsoleText::Zoned(local);
    }
    return where;
}

qint64 Number(const QString &text, bool *ok)
{
    const qint64 value = text.toLongLong(ok);
    *ok = *ok && value >= 0 && value <= 9999;
    return value;
}

} // namespace

bool Handles(const QString &command)
{
    return command == QLatin1String("where") || command == QLatin1String("holder") ||
           command == QLatin1String("pull-list") || command == QLatin1String("overdue");
}

void AddOptions(QCommandLineParser &parser)
{
    parser.addOptions({{QStringLiteral("csv"), QStringLiteral("CSV output")},
                       {QStringLiteral("all"), QStringLiteral("every history entry")},
                       {QStringLiteral("days"), QStringLiteral("days out"), QStringLiteral("N")},
                       {QStringLiteral("begin"), QStringLiteral("begin time"), QStringLiteral("hhmm")},
                       {QStringLiteral("end"), QStringLiteral("end time"), QStringLiteral("hhmm")},
                       {QStringLiteral("judge"), QStringLiteral("judge"), QStringLiteral("J")},
                       {QStringLiteral("room"), QStringLiteral("courtroom"), QStringLiteral("R")},
                       {QStringLiteral("branch"), QStringLiteral("branch code"), QStringLiteral("B")}});
}

bool Owns(const QString &option) { return Own.contains(option); }

bool Takes(const QString &command, const QString &option)
{
    if (option == QLatin1String("csv") || option == QLatin1String("db"))
        return Handles(command);
    if (option == QLatin1String("days"))
        return command == QLatin1String("overdue");
    if (option == QLatin1String("all"))
        return command == QLatin1String("where") || command == QLatin1String("overdue");
    static const QStringList pullOptions{"date", "begin", "end", "judge", "room", "branch"};
    return command == QLatin1String("pull-list") && pullOptions.contains(option);
}

int PullSelection(const QCommandLineParser &parser, QTextStream &err, DocketSelection *out)
{
    DocketSelection &s = *out;
    s.hearingDate = QDate::fromString(parser.value(QStringLiteral("date")), QStringLiteral("yyyy-MM-dd"));
    if (!s.hearingDate.isValid())
        return Refuse(err, QStringLiteral("pull-list needs --date yyyy-MM-dd"));
    bool beginOk = true, endOk = true;
    const qint64 b = parser.isSet(QStringLiteral("begin")) ? Number(parser.value(QStringLiteral("begin")), &beginOk) : 0;
    const qint64 e = parser.isSet(QStringLiteral("end")) ? Number(parser.value(QStringLiteral("end")), &endOk) : 0;
    if (!beginOk || !endOk)
        return Refuse(err, QStringLiteral("--begin and --end are times hhmm, as 830 or 1330"));
    const QString problem = modDateTimeFunctions::HearingTimeRangeProblem(b, e);
    if (!problem.isEmpty())
        return Refuse(err, problem);
    s.beginTime = static_cast<qint32>(b);
    s.endTime = static_cast<qint32>(e);
    if (parser.isSet(QStringLiteral("judge")))
        s.judge = parser.value(QStringLiteral("judge")).toUpper();
    if (parser.isSet(QStringLiteral("room")))
        s.room = parser.value(QStringLiteral("room")).toUpper();
    s.branch = parser.value(QStringLiteral("branch")).toUpper();
    if (s.branch.size() > 1) // a branch code is one character: never cut without a word
        return Refuse(err, QStringLiteral("--branch \"%1\" is not a branch code of one character").arg(s.branch));
    return Ok;
}

int Run(const QString &command, const QStringList &args, const QCommandLineParser &parser, QTextStream &out,
        QTextStream &err)
{
    const bool csv = parser.isSet(QStringLiteral("csv"));
    LocateQueries queries;
    QString failure;
    QObject::connect(queries.adoFILCHK(), &DataObject::Error,
                     [&failure](qint32, const QString &description) { failure = description; });
    const auto answered = [&](bool ok, const LocateLists::List &list) {
        if (!ok) {
            err << "zorva-db: " << failure << Qt::endl;
            return int(Failed);
        }
        Print(list, csv, out);
        return int(Ok);
    };
    // These only read: no court file made (the default one included), nothing set in one.
    Connection::Use(parser.value(QStringLiteral("db")), QStringLiteral("the --db option"), Connection::Access::ReadOnly);

    if (command == QLatin1String("where")) {
        const QString text = args.join(QLatin1Char(' '));
        const std::optional<CaseKey> key = CaseKey::Parse(text);
        if (!key)
            return Refuse(err, QStringLiteral("\"%1\" is not a case number; write it as 2009-CV-123, 2009 CV 123 or "
                                              "2009CV000123")
                                   .arg(text));
        LocateQueries::Location where;
        const bool ok = queries.WhereIs(*key, &where, parser.isSet(QStringLiteral("all")));
        const int exit = answered(ok, LocateLists::Case(Shown(where)));
        // CSV stays the rows alone: what they leave out is said beside them.
        if (ok && where.earlier > 0)
            (csv ? err : out) << "  " << LocateLists::Earlier(where.earlier) << " (--all shows every entry)"
                              << Qt::endl;
        return exit;
    }
    if (command == QLatin1String("holder")) {
        const QString holder = args.join(QLatin1Char(' ')).trimmed().toUpper();
        if (holder.isEmpty())
            return Refuse(err, QStringLiteral("holder needs the party's name"));
        QList<LocateQueries::Loan> loans;
        const bool ok = queries.HeldBy(holder, &loans);
        return answered(ok, LocateLists::Holder(holder, loans));
    }
    if (!args.isEmpty())
        return Refuse(err, QStringLiteral("%1 takes options only, not \"%2\"").arg(command, args.join(QLatin1Char(' '))));
    if (command == QLatin1String("overdue")) {
        bool ok = true;
        const qint64 days = parser.isSet(QStringLiteral("days")) ? Number(parser.value(QStringLiteral("days")), &ok) : 30;
        if (!ok)
            return Refuse(err, QStringLiteral("--days \"%1\" is not a number of days from 0 to 9999")
                                   .arg(parser.value(QStringLiteral("days"))));
        // As the window: the folders out longest, unless all are asked for.
        const bool all = parser.isSet(QStringLiteral("all"));
        QList<LocateQueries::HolderGroup> groups;
        bool more = false;
        if (!queries.Overdue(static_cast<int>(days), &groups, all ? 0 : OverduePage, &more))
            return answered(false, {});
        LocateLists::List list = LocateLists::Overdue(static_cast<int>(days), groups, {}, more);
        const QString cut = QStringLiteral("  Only the %1 folders out longest are listed; --all lists every one.").arg(OverduePage);
        if (csv) {
            Print(list, csv, out);
            if (more)
                err << cut << Qt::endl;
            return Ok;
        }
        // The age summary counts every loan: it is printed after the list, which is out by then.
        TextTable table = Table(list.heading.section(QLatin1Char('\n'), 0, 0), list.columns, out);
        table.Add(list.rows);
        table.End();
        if (more)
            out << cut << '\n';
        LocateQueries::Ages ages{};
        if (!queries.AgeSummary(&ages))
            return answered(false, {});
        out << "Folders out by age - " << LocateLists::AgesLine(ages) << Qt::endl;
        return Ok;
    }

    DocketSelection s;
    if (const int refused = PullSelection(parser, err, &s))
        return refused;
    // Written a page at a time, the first one short: the first screen is out at once, and a day
    // of 100,000 hearings is never held whole. The count comes last, when it is known.
    const QStringList columns = LocateLists::Columns(LocateLists::PullView);
    std::optional<TextTable> table;
    if (csv)
        out << LocateReport::Csv(columns, {});
    else
        table.emplace(Table(LocateLists::PullHeading(s, -1), columns, out));
    qsizetype count = 0;
    const bool ok = queries.PullPages(s, [&](QList<LocateQueries::Pull> &page) {
        count += page.size();
        const QList<QStringList> rows = LocateLists::Pull(s, page).rows;
        if (csv) {
            out << LocateReport::CsvRecords(Visible(rows));
            out.flush();
        } else {
            table->Add(rows);
        }
    });
    if (!ok) {
        out.flush();
        err << "zorva-db: " << failure << Qt::endl;
        return Failed;
    }
    if (table) {
        table->End();
        out << "  " << count << " hearing(s)" << Qt::endl;
    }
    out.flush();
    return Ok;
}

} // namespace LocateCommands
