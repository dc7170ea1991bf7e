#include "ModalAnswerer.h"
#include "StatementHook.h"
#include "TestWorld.h"
#include "forms/folder_batch/BatchRun.h"
#include "forms/folder_docket/DocketRun.h"
#include "records/DataObject.h"

#include <QDeadlineTimer>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

// Several clerks at once on one court database. First the exact interleavings, forced with a
// statement hook: another clerk's write lands between a run's read of a folder and its write.
// Then whole runs in separate processes (two hosts' worth of clerks) started at the same moment.

namespace {

const QDate DocketDay(2026, 12, 7);
// The errors a clerk may meet when another writes the same folder at the same moment.
const QRegularExpression
    Conflict(QStringLiteral("UNIQUE constraint failed|duplicate key value violates unique "
                            "constraint|database is locked|lock timeout"));

QString Key(const QVariantList &row)
{
    QStringList parts;
    for (const QVariant &v : row)
        parts << v.toString().trimmed();
    return parts.join(QLatin1Char(' '));
}

// ---- the interleavings ----

enum class RunKind { DocketOut, DocketIn, BatchOut, BatchIn };

struct Interleaving
{
    const char *name;
    RunKind run;
    bool onLoanAtFirst;  // to EARLIER, by an earlier clerk
    const char *between; // the run's write before which the other clerk writes
    bool otherChecksIn;  // else the other clerk lends the folder to OTHER
    // what must come of it
    int count;
    bool error;
    const char *holderAfter; // empty: not on loan
    int logRows;             // this clerk's log rows
};

void PrintTo(const Interleaving &c, std::ostream *os)
{
    *os << c.name;
}

class Interleavings : public ::testing::TestWithParam<Interleaving>
{
protected:
    TestWorld world;
    ModalAnswerer answerer; // a logging failure would show a box: recorded, never left open
};

TEST_P(Interleavings, TheLogHoldsWhatChangedAndTheOtherLoanStands)
{
    const Interleaving &c = GetParam();
    world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2010,'CF',1,'SMI','1',20261207,900)"));
    if (c.onLoanAtFirst)
        world.Lend(2010, "CF", 1, "EARLIER");
    const bool out = c.run == RunKind::DocketOut || c.run == RunKind::BatchOut;

    QStringList errors;
    QList<qsizetype> changed;
    qint16 count = 0;
    {
        StatementHook otherClerk(QLatin1String(c.between), 1, [&] {
            const QString where = QStringLiteral(" WHERE FILYER=2010 AND FILTYP='CF' AND FILSEQ=1");
            if (c.otherChecksIn)
                world.Exec(QStringLiteral("DELETE FROM MRLCRT.FILCHK") + where);
            else if (c.onLoanAtFirst)
                world.Exec(QStringLiteral("UPDATE MRLCRT.FILCHK SET FILOTO='OTHER', FILUSR='OTHER'") + where);
            else
                world.Lend(2010, "CF", 1, "OTHER");
        });
        if (c.run == RunKind::DocketOut || c.run == RunKind::DocketIn) {
            DocketSelection s;
            s.hearingDate = DocketDay;
            s.action = out ? QStringLiteral("*OUT") : QStringLiteral("*IN");
            DocketRun run(s, QStringLiteral("CLERK1"), true, false);
            for (DataObject *d : {run.adoHRGDTA(), run.adoMASTER(), run.adoFILCHK()})
                QObject::connect(d, &DataObject::Error, [&](qint32, const QString &e) { errors << e; });
            count = run.Run();
            EXPECT_EQ(run.Failed(), c.error);
        } else {
            DataObject folders;
            QObject::connect(&folders, &DataObject::Error, [&](qint32, const QString &e) { errors << e; });
            BatchRun run(&folders, {out ? QStringLiteral("*OUT") : QStringLiteral("*IN"),
                                    QStringLiteral("SMI"), QStringLiteral("CLERK1"), true, false});
            count = run.Run({{2010, QStringLiteral("CF"), 1, QStringLiteral("EARLIER")}},
                            [&](qsizetype i) { changed << i; });
            EXPECT_EQ(run.Failed(), c.error);
            // The window keeps a row that was not reported changed, and says so.
            EXPECT_EQ(changed.size(), c.count);
        }
        ASSERT_TRUE(otherClerk.Fired()) << "the run never came to " << c.between;
    }

    EXPECT_EQ(count, c.count);
    EXPECT_EQ(errors.size(), c.error ? 1 : 0) << errors.join(QStringLiteral("; ")).toStdString();
    if (c.error && !errors.isEmpty()) {
        EXPECT_TRUE(errors[0].contains(Conflict)) << errors[0].toStdString();
    }
    const QList<QVariantList> loan = world.Rows(
        QStringLiteral("SELECT FILOTO FROM MRLCRT.FILCHK WHERE FILYER=2010 AND FILTYP='CF' AND FILSEQ=1"));
    if (*c.holderAfter) {
        EXPECT_EQ(loan, QList<QVariantList>({{QLatin1String(c.holderAfter)}}));
    } else {
        EXPECT_TRUE(loan.isEmpty());
    }
    const QList<QVariantList> log =
        world.Rows(QStringLiteral("SELECT LOGOTO, LOGOUT FROM MRLCRT.FILLOG WHERE LOGUSR='CLERK1'"));
    EXPECT_EQ(log.size(), c.logRows);
    for (const QVariantList &r : log)
        EXPECT_EQ(r.value(1).toInt(), out ? 1 : 0);
    EXPECT_TRUE(answerer.Seen().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    AnotherClerk, Interleavings,
    ::testing::Values(
        // The docket read the folder on loan; another clerk checked it in before the docket's
        // update: the update finds no row. A run counts each folder it sent a statement for,
        // whatever that changed; the log holds only what changed: nothing here.
        Interleaving{"DocketOutAfterACheckIn", RunKind::DocketOut, true, "Update MRLCRT.FILCHK", true, 1,
                     false, "", 0},
        // The docket read it not on loan; another clerk lent it before the docket's insert: the
        // clerk is told, the other loan stands.
        Interleaving{"DocketOutAfterALoan", RunKind::DocketOut, false, "Insert Into MRLCRT.FILCHK", false, 0,
                     true, "OTHER", 0},
        // Checked in by another clerk first: counted, as the delete was sent; not logged.
        Interleaving{"DocketInAfterACheckIn", RunKind::DocketIn, true, "Delete From MRLCRT.FILCHK", true, 1,
                     false, "", 0},
        Interleaving{"BatchOutAfterALoan", RunKind::BatchOut, false, "Insert Into MRLCRT.FILCHK", false, 0,
                     true, "OTHER", 0},
        Interleaving{"BatchInAfterACheckIn", RunKind::BatchIn, true, "Delete From MRLCRT.FILCHK", true, 1,
                     false, "", 0},
        // Lent to another party meanwhile: the docket's loan replaces it, as it replaces any.
        Interleaving{"DocketOutAfterAnotherLoan", RunKind::DocketOut, true, "Update MRLCRT.FILCHK", false, 1,
                     false, "SMI", 1}));

// ---- clerks in processes of their own ----

struct Event
{
    QString kind; // VISIT, CHANGED, ERROR, COUNT, MESSAGE, ATTEMPT
    QString key;  // "2010 CF 12"
    QString what; // party, "OUT party"/"IN holder", error text, count
};

struct Clerk
{
    QString user;
    bool docket = false;
    bool checksIn = false;
    QStringList arguments;
    std::unique_ptr<QProcess> process;
    QString output;
    QList<QList<Event>> attempts;
    QStringList messages;
    bool ended = false;
};

class TwoHosts : public ::testing::Test
{
protected:
    TwoHosts()
    {
        // One judge, hearings in case order: both dockets go through the cases in the same order.
        for (int seq = 1; seq <= 40; ++seq)
            world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2010,'CF',%1,'SMI','1',20261207,%2)")
                           .arg(seq)
                           .arg(800 + seq));
        for (int seq = 31; seq <= 40; ++seq)
            Earlier(QStringLiteral("2010 CF %1").arg(seq));
        for (int seq = 1; seq <= 30; ++seq)
            Earlier(QStringLiteral("2009 CA %1").arg(seq));
    }
    void Earlier(const QString &key)
    {
        const QStringList k = key.split(QLatin1Char(' '));
        world.Lend(k[0].toInt(), k[1], k[2].toInt(), "PUBLIC DEF");
        earlier << key;
    }
    void Add(const QString &user, const QStringList &arguments)
    {
        auto c = std::make_unique<Clerk>();
        c->user = user;
        c->docket = arguments.first() == QLatin1String("docket");
        c->checksIn = !c->docket && arguments.at(1) == QLatin1String("IN");
        c->arguments = QStringList{QStringLiteral("--database"), world.DatabaseUrl(),
                                   QStringLiteral("--attempts"), QStringLiteral("3"), user} +
                       arguments;
        clerks.push_back(std::move(c));
    }
    // Case numbers from `from` to `to`, either way; a holder for a check-in.
    static QStringList Cases(const char *type, int year, int from, int to, const QString &holder = {})
    {
        QStringList cases;
        for (int seq = from;; seq += from <= to ? 1 : -1) {
            cases << QStringLiteral("%1-%2-%3").arg(year).arg(QLatin1String(type)).arg(seq) +
                         (holder.isEmpty() ? QString() : QLatin1Char('=') + holder);
            if (seq == to)
                break;
        }
        return cases;
    }

    // Starts every clerk, waits until all are connected, then lets them go at once.
    void RunAll()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), world.Path(QStringLiteral("clerk-settings")));
        env.remove(QStringLiteral("ZORVA_DATABASE"));
        for (auto &c : clerks) {
            c->process = std::make_unique<QProcess>();
            c->process->setProcessEnvironment(env);
            c->process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            c->process->start(QStringLiteral(ZORVA_TEST_CLERK), c->arguments);
            ASSERT_TRUE(c->process->waitForStarted()) << c->process->errorString().toStdString();
        }
        const QDeadlineTimer deadline(120000);
        for (auto &c : clerks) {
            while (!c->output.contains(QLatin1String("READY\n")) &&
                   c->process->state() == QProcess::Running && !deadline.hasExpired()) {
                c->process->waitForReadyRead(100);
                c->output += QString::fromUtf8(c->process->readAllStandardOutput());
            }
            ASSERT_TRUE(c->output.contains(QLatin1String("READY\n")))
                << c->user.toStdString() << ": " << c->output.toStdString();
        }
        // A pipe is written only while its own process is waited for: every GO goes out first.
        for (auto &c : clerks)
            c->process->write("GO\n");
        for (auto &c : clerks) {
            c->process->waitForBytesWritten(1000);
            c->process->closeWriteChannel();
        }
        // A clerk that hangs is stopped and the test fails; none is left running.
        for (auto &c : clerks) {
            while (c->process->state() != QProcess::NotRunning && !deadline.hasExpired()) {
                c->process->waitForFinished(100);
                c->output += QString::fromUtf8(c->process->readAllStandardOutput());
            }
            c->output += QString::fromUtf8(c->process->readAllStandardOutput());
            if (c->process->state() != QProcess::NotRunning) {
                c->process->kill();
                c->process->waitForFinished();
                ADD_FAILURE() << c->user.toStdString() << " hung; killed after 120 s. It printed:\n"
                              << c->output.toStdString();
                continue;
            }
            EXPECT_EQ(c->process->exitStatus(), QProcess::NormalExit) << c->user.toStdString() << " crashed";
            EXPECT_EQ(c->process->exitCode(), 0) << c->user.toStdString() << ":\n" << c->output.toStdString();
            Parse(*c);
            EXPECT_TRUE(c->ended) << c->user.toStdString() << " did not finish its runs:\n"
                                  << c->output.toStdString();
        }
    }

    static void Parse(Clerk &c)
    {
        for (const QString &line : c.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList f = line.split(QLatin1Char('\t'));
            const QString kind = f.value(0);
            const QString key = f.mid(1, 3).join(QLatin1Char(' '));
            if (kind == QLatin1String("ATTEMPT"))
                c.attempts.append(QList<Event>());
            else if (kind == QLatin1String("END"))
                c.ended = true;
            else if (kind == QLatin1String("MESSAGE"))
                c.messages << f.mid(1).join(QStringLiteral(": "));
            else if (!c.attempts.isEmpty() &&
                     (kind == QLatin1String("VISIT") || kind == QLatin1String("ERROR")))
                c.attempts.last().append({kind, key, f.mid(4).join(QLatin1Char(' '))});
            else if (!c.attempts.isEmpty() && kind == QLatin1String("CHANGED"))
                c.attempts.last().append({kind, key, f.value(4) + QLatin1Char(' ') + f.value(5)});
            else if (!c.attempts.isEmpty() && kind == QLatin1String("COUNT"))
                c.attempts.last().append({kind, {}, f.value(1)});
        }
    }

    // What the batches reported changed, as "user key OUT|IN party".
    QStringList Claimed() const
    {
        QStringList claimed;
        for (const auto &c : clerks)
            for (const QList<Event> &attempt : c->attempts)
                for (const Event &e : attempt) {
                    if (e.kind == QLatin1String("CHANGED"))
                        claimed << c->user + QLatin1Char(' ') + e.key + QLatin1Char(' ') + e.what;
                }
        return claimed;
    }

    TestWorld world;
    std::vector<std::unique_ptr<Clerk>> clerks;
    QSet<QString> earlier; // on loan to PUBLIC DEF before anyone starts
};

TEST_F(TwoHosts, DocketsAndBatchesOverOverlappingCasesAtOnce)
{
    // Host A: a docket, and a batch lending the docket's first thirty folders and twenty others.
    // Host B: the same docket, and a batch bringing back forty folders lent before, the docket's
    // last ten among them. A batch goes bottom-up: each list is laid out so that it meets the
    // dockets on their cases at about the same moment.
    Add(QStringLiteral("DOCKA"), {QStringLiteral("docket"), DocketDay.toString(Qt::ISODate)});
    Add(QStringLiteral("BATCHA"),
        QStringList{QStringLiteral("batch"), QStringLiteral("OUT"), QStringLiteral("DA OFFICE")} +
            Cases("CA", 2009, 31, 50) + Cases("CF", 2010, 30, 1));
    Add(QStringLiteral("DOCKB"), {QStringLiteral("docket"), DocketDay.toString(Qt::ISODate)});
    Add(QStringLiteral("BATCHB"),
        QStringList{QStringLiteral("batch"), QStringLiteral("IN"), QStringLiteral("NONE")} +
            Cases("CF", 2010, 40, 31, QStringLiteral("PUBLIC DEF")) +
            Cases("CA", 2009, 30, 1, QStringLiteral("PUBLIC DEF")));
    RunAll();
    if (HasFatalFailure())
        return;

    // One row per folder.
    EXPECT_TRUE(
        world
            .Rows(QStringLiteral("SELECT FILYER, FILTYP, FILSEQ FROM MRLCRT.FILCHK GROUP BY FILYER, FILTYP, "
                                 "FILSEQ HAVING count(*) > 1"))
            .isEmpty());

    // Every change a clerk reported is logged once, and nothing else is.
    const QStringList claimed = Claimed();
    QStringList logged;
    for (const QVariantList &r :
         world.Rows(QStringLiteral("SELECT LOGUSR, LOGYER, LOGTYP, LOGSEQ, LOGOUT, LOGOTO FROM "
                                   "MRLCRT.FILLOG"))) {
        QVariantList row = r;
        row[4] = r[4].toInt() == 1 ? QStringLiteral("OUT") : QStringLiteral("IN");
        logged << Key(row);
    }
    // A docket counts every hearing it gets through; it logs the ones whose statement changed a
    // row. A hearing without its log entry is a folder that another clerk brought back between
    // the docket's read and its update, which then found no row.
    QSet<QString> broughtBack;
    for (const QString &change : claimed) {
        if (change.section(QLatin1Char(' '), 4, 4) == QLatin1String("IN"))
            broughtBack << change.section(QLatin1Char(' '), 1, 3);
    }
    QStringList docketsLent;
    for (const auto &c : clerks) {
        if (!c->docket)
            continue;
        for (const QList<Event> &attempt : c->attempts)
            for (const Event &e : attempt) {
                if (e.kind != QLatin1String("VISIT"))
                    continue;
                const QString lent = c->user + QLatin1Char(' ') + e.key + QStringLiteral(" OUT ") + e.what;
                if (logged.removeOne(lent)) {
                    docketsLent << lent;
                } else {
                    EXPECT_TRUE(broughtBack.contains(e.key))
                        << c->user.toStdString() << " counted " << e.key.toStdString()
                        << " without logging it, and no other clerk brought it back";
                }
            }
    }
    QStringList a = claimed, b = logged;
    a.sort();
    b.sort();
    EXPECT_EQ(a, b) << "claimed:\n"
                    << a.join(QLatin1Char('\n')).toStdString() << "\nlogged:\n"
                    << b.join(QLatin1Char('\n')).toStdString();

    // What is on loan now was lent by someone who said so (or was on loan before, untouched).
    QMap<QString, QStringList> outBy, inBy; // key -> "user party" / users
    for (const QString &c : claimed + docketsLent) {
        const QStringList f = c.split(QLatin1Char(' '));
        const QString key = f.mid(1, 3).join(QLatin1Char(' '));
        if (f[4] == QLatin1String("OUT"))
            outBy[key] << f[0] + QLatin1Char(' ') + f.mid(5).join(QLatin1Char(' '));
        else
            inBy[key] << f[0];
    }
    QSet<QString> onLoan;
    for (const QVariantList &r :
         world.Rows(QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILUSR, FILOTO FROM MRLCRT.FILCHK"))) {
        const QString key = Key(r.mid(0, 3));
        const QString by = Key(r.mid(3));
        onLoan << key;
        EXPECT_TRUE(outBy.value(key).contains(by) ||
                    (by == QLatin1String("OLD PUBLIC DEF") && earlier.contains(key)))
            << key.toStdString() << " is on loan (" << by.toStdString()
            << ") but no clerk reported lending it so";
    }
    // Nobody checks in what only goes out: every reported check-out of those is still there.
    for (auto it = outBy.cbegin(); it != outBy.cend(); ++it)
        EXPECT_TRUE(inBy.contains(it.key()) || onLoan.contains(it.key()))
            << it.key().toStdString() << " was reported lent and is not on loan";
    for (auto it = inBy.cbegin(); it != inBy.cend(); ++it)
        EXPECT_TRUE(outBy.contains(it.key()) || !onLoan.contains(it.key()))
            << it.key().toStdString() << " was reported back and is on loan";

    // A row a batch passed over without a change or an error was legitimately so already: on loan
    // (before, or lent by another clerk) for a check-out, brought back by another for a check-in.
    // A docket's count is the number of hearings it got through: each one a change.
    int errors = 0, runs = 0;
    QStringList summary;
    QSet<QString> met; // the conflicts' texts, without the key
    for (const auto &c : clerks) {
        int changes = 0, conflicts = 0;
        EXPECT_TRUE(c->messages.isEmpty())
            << c->user.toStdString() << ": " << c->messages.join(QLatin1Char('\n')).toStdString();
        for (const QList<Event> &attempt : c->attempts) {
            ++runs;
            QSet<QString> changed, failedAt;
            int visits = 0, count = -1;
            for (const Event &e : attempt) {
                if (e.kind == QLatin1String("CHANGED")) {
                    changed << e.key;
                } else if (e.kind == QLatin1String("VISIT")) {
                    ++visits;
                } else if (e.kind == QLatin1String("COUNT")) {
                    count = e.what.toInt();
                } else if (e.kind == QLatin1String("ERROR")) {
                    ++conflicts;
                    failedAt << e.key;
                    met << e.what.section(QLatin1Char(' '), 1)
                               .section(QStringLiteral("DETAIL"), 0, 0)
                               .simplified();
                    EXPECT_TRUE(e.what.contains(Conflict))
                        << c->user.toStdString() << " at " << e.key.toStdString() << ": "
                        << e.what.toStdString();
                }
            }
            if (c->docket) {
                EXPECT_EQ(count, visits) << c->user.toStdString();
                changes += visits;
                continue;
            }
            EXPECT_EQ(count, changed.size()) << c->user.toStdString();
            changes += int(changed.size());
            for (const Event &e : attempt) {
                if (e.kind != QLatin1String("VISIT") || changed.contains(e.key) || failedAt.contains(e.key))
                    continue;
                bool legitimate = false;
                if (c->checksIn) {
                    for (const QString &user : inBy.value(e.key))
                        legitimate = legitimate || user != c->user;
                } else {
                    legitimate = earlier.contains(e.key);
                    for (const QString &by : outBy.value(e.key))
                        legitimate = legitimate || !by.startsWith(c->user + QLatin1Char(' '));
                }
                EXPECT_TRUE(legitimate)
                    << c->user.toStdString() << " passed over " << e.key.toStdString() << " silently";
            }
        }
        errors += conflicts;
        summary << QStringLiteral("%1 %2 run(s) %3 changes %4 conflicts")
                       .arg(c->user)
                       .arg(c->attempts.size())
                       .arg(changes)
                       .arg(conflicts);
    }
    std::cout << "[ clerks   ] " << runs << " runs, " << errors << " conflicts reported, " << claimed.size()
              << " changes: " << summary.join(QStringLiteral("; ")).toStdString() << std::endl;
    for (const QString &text : met)
        std::cout << "[ conflict ] " << text.toStdString() << std::endl;
}

} // namespace
