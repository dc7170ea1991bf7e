#include "LocateCommands.h"

#include "ConsoleText.h"

#include "forms/folder_locate/LocateLists.h"
#include "forms/folder_locate/LocateQueries.h"
#include "forms/folder_locate/LocateReport.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace LocateCommands {
namespace {

enum Exit { Ok = 0, Failed = 1, BadUsage = 2 };

const QStringList Own{"csv", "days", "begin", "end", "judge", "room", "branch"};

int Refuse(QTextStream &err, const QString &message)
{
    err << "zorva-db: " << message << "\nRun \"zorva-db --help\" for the commands." << Qt::endl;
    return BadUsage;
}

void Print(LocateLists::List list, bool csv, QTextStream &out)
{
    for (QStringList &row : list.rows)
        for (QString &cell : row)
            cell = ConsoleText::Visible(cell);
    if (csv) {
        out << LocateReport::Csv(list.columns, list.rows);
        out.flush();
        return;
    }
    out << "court: " << ConsoleText::CourtName(Connection::Current().url) << '\n';
    // The heading's own line breaks stay; court text in it was made visible before.
    for (const QString &line : list.heading.split(QLatin1Char('\n')))
        out << ConsoleText::Visible(line) << '\n';
    QList<qsizetype> widths;
    for (const QString &column : list.columns)
        widths << column.size();
    for (const QStringList &row : list.rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    const auto line = [&](const QStringList &cells) {
        QString text;
        for (qsizetype c = 0; c < cells.size(); ++c)
            text += (c ? QStringLiteral("  ") : QStringLiteral("  ")) + cells[c].leftJustified(widths[c]);
        out << text.trimmed().prepend(QStringLiteral("  ")) << '\n';
    };
    if (list.rows.isEmpty()) {
        out << "  (none)\n";
    } else {
        line(list.columns);
        for (const QStringList &row : list.rows)
            line(row);
    }
    out.flush();
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
    return command == QLatin1String("pull-list") && option != QLatin1String("hearings");
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
    const QString problem = LocateQueries::TimeRangeProblem(b, e);
    if (!problem.isEmpty())
        return Refuse(err, problem);
    s.beginTime = static_cast<qint32>(b);
    s.endTime = static_cast<qint32>(e);
    if (parser.isSet(QStringLiteral("judge")))
        s.judge = parser.value(QStringLiteral("judge")).toUpper();
    if (parser.isSet(QStringLiteral("room")))
        s.room = parser.value(QStringLiteral("room")).toUpper();
    s.branch = parser.value(QStringLiteral("branch")).toUpper().left(1);
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
    if (parser.isSet(QStringLiteral("db")))
        Connection::Use(parser.value(QStringLiteral("db")), QStringLiteral("the --db option"));

    if (command == QLatin1String("where")) {
        const QString text = args.join(QLatin1Char(' '));
        const std::optional<CaseKey> key = CaseKey::Parse(text);
        if (!key)
            return Refuse(err, QStringLiteral("\"%1\" is not a case number; write it as 2009-CV-123, 2009 CV 123 or "
                                              "2009CV000123")
                                   .arg(text));
        LocateQueries::Location where;
        const bool ok = queries.WhereIs(*key, &where);
        return answered(ok, LocateLists::Case(Shown(where)));
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
        QList<LocateQueries::HolderGroup> groups;
        LocateQueries::Ages ages{};
        const bool read = queries.Overdue(static_cast<int>(days), &groups) && queries.AgeSummary(&ages);
        return answered(read, LocateLists::Overdue(static_cast<int>(days), groups, ages));
    }

    DocketSelection s;
    if (const int refused = PullSelection(parser, err, &s))
        return refused;
    QList<LocateQueries::Pull> pulls;
    const bool ok = queries.PullList(s, &pulls);
    return answered(ok, LocateLists::Pull(s, pulls));
}

} // namespace LocateCommands
