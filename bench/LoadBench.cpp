// Many clerks at once: N clerk processes (2, 8, 32 by default) against one court, each doing a
// clerk's mix for a fixed time with a person's pauses: the editor's Save and Delete on a shared
// set of hot folders, batch check-outs and check-ins of overlapping lists, docket runs on the same
// day (LoadClerk). Afterwards every change is matched to its log row and replayed against what
// each clerk's window showed (LoadReplay), every clerk must have finished within a bound, and the
// court must pass its integrity check. Reports changes per second and the 99th-percentile waits.
// Too slow for CI: `scripts/bench --load` runs it, on a SQLite file and on a private PostgreSQL
// cluster (ZORVA_BENCH_POSTGRES).
//
//   clerks_load [--clerks 2,8,32] [--seconds 30] [--backend sqlite|postgresql|both] [--hot 48] [--keep]
// --keep leaves each run's journals and the clerks' output in a temporary folder (it is named).
#include "BenchCourt.h"
#include "LoadClerk.h"
#include "LoadReplay.h"
#include "records/Connection.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr int ReadyBoundS = 180;
constexpr int FinishSlackS = 90; // past the run's time, a clerk still going is stuck
constexpr double WaitBoundMs = 1000;
constexpr double ServerScaling = 4;

QString Option(const QStringList &args, const QString &name, const QString &fallback)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
}

double Percentile99(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(qsizetype(std::ceil(0.99 * double(values.size()))) - 1);
}

// ---- a clerk's process ----

int Clerk(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString settings = Option(args, QStringLiteral("--settings"), {});
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    {
        // Logging on, as the check needs a log row for every change.
        QSettings store(settings + QStringLiteral("/Venholt Dedezirive, Ltd/ZORVAFolders.ini"),
                        QSettings::IniFormat);
        store.setValue(QStringLiteral("FolderEdit/mnuAppEditPreferencesLoggingAuto"), QStringLiteral("True"));
    }
    LoadClerk::Options options;
    options.user = Option(args, QStringLiteral("--clerk"), {});
    options.seconds = Option(args, QStringLiteral("--seconds"), QStringLiteral("30")).toInt();
    options.seed = Option(args, QStringLiteral("--seed"), QStringLiteral("1")).toUInt();
    options.hotFolders = Option(args, QStringLiteral("--hot"), QStringLiteral("48")).toInt();
    options.day = QDate::fromString(QString::number(BenchCourt::Day), QStringLiteral("yyyyMMdd"));
    options.journal = Option(args, QStringLiteral("--journal"), {});
    LoadClerk clerk(options);
    // Every clerk starts at the coordinator's word, so that all of them work for the same time.
    std::cout << "ready" << std::endl;
    std::string go;
    if (!std::getline(std::cin, go) || go != "go")
        return 2;
    return clerk.Run();
}

// ---- the coordinator ----

struct Round
{
    QString backend;
    int clerks = 0;
    double seconds = 0;   // from the start to the last clerk done
    int changes = 0;      // all of them
    int timedChanges = 0; // those logged within the run's fixed time
    int runSeconds = 0;
    double saveP99 = 0, deleteP99 = 0, lookupP99 = 0, worstClerkP99 = 0, batchRunP99 = 0, docketRunP99 = 0;
    int saves = 0, deletes = 0, lookups = 0, refused = 0, errors = 0, batches = 0, dockets = 0, rowsLeft = 0;
    double cpuStalled = -1; // % of the round in which a runnable task waited for a CPU (-1: not known)
    double load = 0;        // the 1-minute load average at the end
    int lockSamples = 0, lockWaitSamples = 0, mostWaiting = 0;
    QStringList broken;
    double PerSecond() const { return runSeconds > 0 ? double(timedChanges) / runSeconds : 0; }
};

// The kernel's count of microseconds in which some runnable task waited for a CPU (-1: none).
qint64 CpuStalledUs()
{
    QFile pressure(QStringLiteral("/proc/pressure/cpu"));
    if (!pressure.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray some = pressure.readLine();
    const qsizetype at = some.indexOf("total=");
    return at < 0 ? -1 : some.mid(at + 6).trimmed().toLongLong();
}

double LoadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? load.readLine().split(' ').value(0).toDouble() : 0;
}

QSqlDatabase Court()
{
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid())
        throw std::runtime_error(error.toStdString());
    return db;
}

QList<QVariantList> Rows(const QString &statement)
{
    QSqlQuery q(Court());
    q.setForwardOnly(true);
    if (!q.exec(statement))
        throw std::runtime_error(statement.toStdString() + ": " + q.lastError().text().toStdString());
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < q.record().count(); ++c)
            row << q.value(c);
        rows << row;
    }
    q.finish();
    return rows;
}

QMap<QString, LoadReplay::Loan> Loans()
{
    QMap<QString, LoadReplay::Loan> loans;
    for (const QVariantList &r :
         Rows(QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUSR FROM MRLCRT.FILCHK")))
        loans.insert(
            QStringLiteral("%1 %2 %3").arg(r[0].toInt()).arg(r[1].toString().trimmed()).arg(r[2].toInt()),
            {r[3].toString().trimmed(), r[4].toString().trimmed()});
    return loans;
}

// The log rows written from `from` for `seconds` (their UTC time stamps).
int LoggedWithin(const QDateTime &from, int seconds)
{
    int n = 0;
    for (const QVariantList &r : Rows(QStringLiteral("SELECT LOGTSP FROM MRLCRT.FILLOG"))) {
        const QDateTime at = QDateTime::fromString(r[0].toString(), Qt::ISODateWithMs);
        n += at >= from && at < from.addSecs(seconds);
    }
    return n;
}

QList<LoadReplay::LogRow> Log(bool server)
{
    QList<LoadReplay::LogRow> log;
    // In the order written: on the server, by transaction (a folder's changes never overlap, its
    // transactions hold it), then by place in the table.
    for (const QVariantList &r :
         Rows(QStringLiteral(
                  "SELECT LOGYER, LOGTYP, LOGSEQ, LOGUSR, LOGOTO, LOGOUT FROM MRLCRT.FILLOG ORDER BY ") +
              (server ? QStringLiteral("xmin::text::bigint, ctid") : QStringLiteral("rowid"))))
        log.append(
            {QStringLiteral("%1 %2 %3").arg(r[0].toInt()).arg(r[1].toString().trimmed()).arg(r[2].toInt()),
             r[3].toString().trimmed(), r[4].toString(), r[5].toInt() == 1});
    return log;
}

QString Integrity(bool server)
{
    if (!server)
        return Rows(QStringLiteral("PRAGMA MRLCRT.integrity_check")).value(0).value(0).toString();
    // The server's own structures: the loan table's and log's indexes against their tables.
    try {
        Rows(QStringLiteral("CREATE EXTENSION IF NOT EXISTS amcheck"));
        for (const char *index : {"mrlcrt.filchk_key", "mrlcrt.filchk_oto", "mrlcrt.fillog_key"})
            Rows(QStringLiteral("SELECT bt_index_check('%1'::regclass, true)").arg(QLatin1String(index)));
    } catch (const std::exception &e) {
        return QString::fromStdString(e.what()); // a damaged index, or no amcheck for this user
    }
    return QStringLiteral("ok");
}

Round RunRound(const QString &backend, int clerks, int seconds, int hot, const QString &admin,
               const QString &self, bool keep)
{
    Round round;
    round.backend = backend;
    round.clerks = clerks;
    const bool server = backend == QLatin1String("postgresql");
    std::unique_ptr<BenchCourt> court =
        server ? std::make_unique<BenchCourt>(hot, admin) : std::make_unique<BenchCourt>(hot);
    // Half the hot folders out to OLD PARTY, half in.
    court->LendAll();
    Rows(QStringLiteral("DELETE FROM MRLCRT.FILCHK WHERE FILSEQ % 2 = 1"));
    if (server) // a half-minute of churn on a small table: the server vacuums it as it would in use
        Rows(QStringLiteral("ALTER TABLE MRLCRT.FILCHK RESET (autovacuum_enabled)"));
    const QMap<QString, LoadReplay::Loan> before = Loans();
    Connection::CloseAll();

    QTemporaryDir work;
    // The reference tables the batch window reads, in a Program Files folder of the run's own.
    const QString tables = work.filePath(QStringLiteral("programs/" ZORVA_CLIENT_TABLES_SUBDIR "/"));
    QDir().mkpath(tables);
    for (const char *table : {"ARYTYP.XML", "ARYJDG.XML", "ARYROM.XML"})
        if (!QFile::copy(QStringLiteral(ZORVA_SOURCE_DIR "/data/") + QLatin1String(table),
                         tables + QLatin1String(table)))
            throw std::runtime_error(std::string("cannot copy the reference table ") + table);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORVA_DATABASE"), court->Url());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), work.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("ZORVA_PROGRAM_FILES"), work.filePath(QStringLiteral("programs")));
    std::vector<std::unique_ptr<QProcess>> processes;
    QStringList users;
    for (int i = 0; i < clerks; ++i) {
        const QString user = QStringLiteral("CLERK%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        users << user;
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setStandardErrorFile(work.filePath(user + QStringLiteral(".stderr")));
        p->start(self, {QStringLiteral("--clerk"), user, QStringLiteral("--seconds"),
                        QString::number(seconds), QStringLiteral("--seed"),
                        QString::number(1000 * clerks + i), QStringLiteral("--hot"), QString::number(hot),
                        QStringLiteral("--settings"), work.filePath(user + QStringLiteral("/settings")),
                        QStringLiteral("--journal"), work.filePath(user + QStringLiteral(".journal"))});
        processes.push_back(std::move(p));
    }
    for (auto &p : processes) {
        QElapsedTimer wait;
        wait.start();
        p->waitForStarted();
        while (!p->canReadLine() && p->state() == QProcess::Running && wait.elapsed() < ReadyBoundS * 1000)
            p->waitForReadyRead(1000);
        if (p->readLine().trimmed() != "ready")
            throw std::runtime_error("a clerk did not start: " +
                                     work.filePath(QStringLiteral("*.stderr")).toStdString());
    }
    QElapsedTimer clock;
    clock.start();
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (auto &p : processes) {
        // Written now: a QProcess writes only from an event loop or a wait of its own.
        p->write("go\n");
        p->waitForBytesWritten(1000);
        p->closeWriteChannel();
    }
    // While they work: how often the machine kept a runnable task from a CPU, and on the server,
    // how often a clerk's session waited for a lock (another clerk holding the same folder).
    const qint64 stalledBefore = CpuStalledUs();
    const auto running = [&processes] {
        return std::any_of(processes.begin(), processes.end(), [](const auto &p) {
            p->waitForFinished(1);
            return p->state() != QProcess::NotRunning;
        });
    };
    while (running() && clock.elapsed() < (seconds + FinishSlackS) * 1000LL) {
        if (server) {
            const int waiting = Rows(QStringLiteral("SELECT count(*) FROM pg_locks WHERE NOT granted"))
                                    .value(0)
                                    .value(0)
                                    .toInt();
            ++round.lockSamples;
            round.lockWaitSamples += waiting > 0;
            round.mostWaiting = std::max(round.mostWaiting, waiting);
        }
        QThread::msleep(100);
    }
    if (stalledBefore >= 0)
        round.cpuStalled = 100.0 * double(CpuStalledUs() - stalledBefore) /
                           (double(std::max<qint64>(clock.elapsed(), 1)) * 1000.0);
    round.load = LoadAverage();
    for (int i = 0; i < clerks; ++i) {
        QProcess &p = *processes[size_t(i)];
        if (p.state() != QProcess::NotRunning) {
            round.broken << QStringLiteral("%1 did not finish within %2 s: stuck")
                                .arg(users[i])
                                .arg(seconds + FinishSlackS);
            p.kill(); // this clerk's process alone
            p.waitForFinished(5000);
        } else if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            round.broken << QStringLiteral("%1 ended with status %2 (a window hung or crashed)")
                                .arg(users[i])
                                .arg(p.exitCode());
        }
    }
    round.seconds = clock.nsecsElapsed() / 1e9;

    LoadReplay replay(before, hot);
    QList<double> saves, deletes, lookups, batchRuns, docketRuns;
    for (const QString &user : std::as_const(users)) {
        QFile file(work.filePath(user + QStringLiteral(".journal")));
        QList<LoadJournal::Action> actions;
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            for (const QString &line :
                 QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                LoadJournal::Action a;
                if (!LoadJournal::Parse(line, &a)) {
                    round.broken << user + QStringLiteral(": unreadable journal line: ") + line;
                    continue;
                }
                actions << a;
            }
        }
        QList<double> waits;
        for (const LoadJournal::Action &a : std::as_const(actions)) {
            round.refused += a.outcome == QLatin1String("refused");
            round.errors += a.outcome == QLatin1String("error");
            if (a.outcome == QLatin1String("error"))
                std::fprintf(stderr, "%s %s: %s\n", qPrintable(user), qPrintable(a.kind),
                             qPrintable(a.boxes.join(QStringLiteral(" | "))));
            if (a.kind == QLatin1String("save"))
                saves << a.ms, waits << a.ms;
            else if (a.kind == QLatin1String("delete"))
                deletes << a.ms, waits << a.ms;
            else if (a.kind.startsWith(QLatin1String("batch"))) {
                ++round.batches;
                lookups << a.lookups;
                waits << a.lookups;
                batchRuns << a.ms;
                for (const LoadJournal::Row &row : a.rows)
                    round.rowsLeft += !row.changed;
            } else {
                ++round.dockets;
                docketRuns << a.ms;
            }
        }
        round.worstClerkP99 = std::max(round.worstClerkP99, Percentile99(waits));
        replay.AddClerk(user, actions);
    }
    round.saves = int(saves.size());
    round.deletes = int(deletes.size());
    round.lookups = int(lookups.size());
    round.saveP99 = Percentile99(saves);
    round.deleteP99 = Percentile99(deletes);
    round.lookupP99 = Percentile99(lookups);
    round.batchRunP99 = Percentile99(batchRuns);
    round.docketRunP99 = Percentile99(docketRuns);

    const QList<LoadReplay::LogRow> log = Log(server);
    round.changes = int(log.size());
    round.runSeconds = seconds;
    round.timedChanges = LoggedWithin(start, seconds);
    round.broken << replay.Check(log, Loans());
    const QString integrity = Integrity(server);
    if (integrity != QLatin1String("ok"))
        round.broken << QStringLiteral("integrity check: ") + integrity;
    Connection::CloseAll();
    if (keep || !round.broken.isEmpty()) {
        work.setAutoRemove(false); // the journals and the clerks' output stay for a look
        std::fprintf(stderr, "journals kept in %s\n", qPrintable(work.path()));
    }
    return round;
}

void Print(const Round &r)
{
    std::printf("%-10s %3d clerks  %6.1f s  %5d changes (%d in %d s)  %6.2f changes/s  save p99 %7.1f ms "
                "(%d)  delete p99 %7.1f ms (%d)  "
                "lookup p99 %7.1f ms (%d)  worst clerk p99 %7.1f ms  batch run p99 %7.1f ms (%d)  docket run "
                "p99 %7.1f ms (%d)  "
                "refused %d  data errors %d  batch rows left %d  cpu stalled %.0f%%  load %.1f",
                qPrintable(r.backend), r.clerks, r.seconds, r.changes, r.timedChanges, r.runSeconds,
                r.PerSecond(), r.saveP99, r.saves, r.deleteP99, r.deletes, r.lookupP99, r.lookups,
                r.worstClerkP99, r.batchRunP99, r.batches, r.docketRunP99, r.dockets, r.refused, r.errors,
                r.rowsLeft, r.cpuStalled, r.load);
    if (r.lockSamples > 0)
        std::printf("  lock waits in %d of %d samples (at most %d at once)", r.lockWaitSamples, r.lockSamples,
                    r.mostWaiting);
    std::printf("\n");
    for (const QString &line : r.broken)
        std::printf("  BROKEN: %s\n", qPrintable(line));
    std::fflush(stdout);
}

int Coordinate(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString admin = qEnvironmentVariable("ZORVA_BENCH_POSTGRES");
    const QString backends = Option(args, QStringLiteral("--backend"),
                                    admin.isEmpty() ? QStringLiteral("sqlite") : QStringLiteral("both"));
    const int seconds = Option(args, QStringLiteral("--seconds"), QStringLiteral("30")).toInt();
    const int hot = Option(args, QStringLiteral("--hot"), QStringLiteral("48")).toInt();
    QList<int> counts;
    for (const QString &n :
         Option(args, QStringLiteral("--clerks"), QStringLiteral("2,8,32")).split(QLatin1Char(',')))
        counts << n.toInt();
    int status = 0;
    for (const QString &backend : {QStringLiteral("sqlite"), QStringLiteral("postgresql")}) {
        if (backends != backend && backends != QLatin1String("both"))
            continue;
        if (backend == QLatin1String("postgresql") && admin.isEmpty()) {
            std::fprintf(stderr, "clerks_load: ZORVA_BENCH_POSTGRES names no server\n");
            status = 1;
            continue;
        }
        QList<Round> rounds;
        for (int n : std::as_const(counts)) {
            rounds << RunRound(backend, n, seconds, hot, admin, QCoreApplication::applicationFilePath(),
                               args.contains(QStringLiteral("--keep")));
            Print(rounds.last());
            if (!rounds.last().broken.isEmpty())
                status = 1;
            if (rounds.last().worstClerkP99 > WaitBoundMs) {
                std::printf("  OVER BOUND: a clerk's 99th-percentile wait is %.0f ms (bound %.0f ms)\n",
                            rounds.last().worstClerkP99, WaitBoundMs);
                status = 1;
            }
        }
        if (backend == QLatin1String("postgresql") && rounds.size() >= 2) {
            const double ratio = rounds.last().PerSecond() / std::max(rounds.first().PerSecond(), 1e-9);
            std::printf(
                "%s: %d clerks make %.2f times the changes per second of %d clerks (at least %.0f wanted)\n",
                qPrintable(backend), rounds.last().clerks, ratio, rounds.first().clerks, ServerScaling);
            if (ratio < ServerScaling)
                status = 1;
        }
    }
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--clerk")
            return Clerk(argc, argv);
    try {
        return Coordinate(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "clerks_load: %s\n", e.what());
        return 1;
    }
}
