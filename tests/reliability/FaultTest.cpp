#include "ModalAnswerer.h"
#include "StatementHook.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "forms/folder_batch/frmFolderBatch.h"
#include "forms/folder_docket/frmFolderDocket.h"
#include "forms/folder_edit/frmFolderEdit.h"
#include "records/Connection.h"
#include "records/Schema.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/modFormFunctions.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

// The faults a court's machine meets (another clerk's lock, a read-only or full disk, a missing
// table, a server that goes away, a wrong connection URL), made for real and met through the
// real windows: the clerk must be told what went wrong, the window must close as its failure
// rules say, what was written before must stay whole (no loan without its log row, no log row
// without its loan), and the next session must work once the fault is gone.

namespace {

const QString Clerk = QStringLiteral("CLERK1");
const QString Party = QStringLiteral("DA OFFICE");
const QString Judge = QStringLiteral("SMI");
constexpr int Folders = 6; // cases on the docket and in the batch list

// ---- processes, environment ----

struct Ran
{
    int exitCode = -1;
    QString output;
};

Ran RunProgram(const QString &program, const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForStarted())
        return {-1, program + QStringLiteral(": ") + p.errorString()};
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, program + QStringLiteral(" did not finish: ") + QString::fromLocal8Bit(p.readAll())};
    }
    const QString output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, output};
}

bool IsRoot()
{
    return ::geteuid() == 0;
}

// Mounts made after this belong to a mount namespace of this thread's own, private, so that none
// reaches the machine's and all go with the test, however it ends. Empty when done, else why not.
QString PrivateMounts()
{
    if (!IsRoot())
        return QStringLiteral("mounting needs root");
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

// The file mounted read-only over itself: not even root opens it for writing (chmod would not
// stop root), while it reads as before.
QString MountReadOnly(const QString &file)
{
    const QByteArray path = QFile::encodeName(file);
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0 ||
        ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

void Unmount(const QString &path)
{
    ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
}

// An environment variable set for as long as this lives, then put back as it was.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QString &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// ---- a PostgreSQL cluster of the test's own, so that stopping it disturbs nobody ----

class OwnCluster
{
public:
    bool Start(QString *why)
    {
        const QStringList bins =
            QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QString newest;
        for (const QString &v : bins)
            if (QFileInfo::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/pg_ctl").arg(v)) &&
                (newest.isEmpty() || v.toInt() > newest.toInt()))
                newest = v;
        if (newest.isEmpty()) {
            *why = QStringLiteral("no PostgreSQL server under /usr/lib/postgresql");
            return false;
        }
        m_pgctl = QStringLiteral("/usr/lib/postgresql/%1/bin/pg_ctl").arg(newest);
        // The server runs as postgres when the test runs as root: it must reach the folder.
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                                QFileDevice::ExeGroup);
        const Ran started = RunProgram(QStringLiteral(ZORVA_SOURCE_DIR "/scripts/pg-cluster"),
                                       {QStringLiteral("start"), m_dir.path()});
        m_url = started.output.section(QLatin1Char('\n'), -1);
        if (started.exitCode != 0 || !m_url.startsWith(QLatin1String("postgresql://"))) {
            *why = QStringLiteral("scripts/pg-cluster start failed: ") + started.output;
            return false;
        }
        m_running = true;
        return true;
    }
    ~OwnCluster()
    {
        if (!m_url.isEmpty())
            RunProgram(QStringLiteral(ZORVA_SOURCE_DIR "/scripts/pg-cluster"),
                       {QStringLiteral("stop"), m_dir.path()});
    }
    QString Url() const { return m_url; }
    bool Running() const { return m_running; }

    // As a power cut or a killed server: no shutdown checkpoint, sessions cut off.
    QString StopImmediately()
    {
        const Ran r = PgCtl({QStringLiteral("-D"), Data(), QStringLiteral("-m"), QStringLiteral("immediate"),
                             QStringLiteral("-w"), QStringLiteral("stop")});
        m_running = r.exitCode != 0;
        return r.exitCode == 0 ? QString() : r.output;
    }
    // Back on the same port, as the cluster was started.
    QString Restart()
    {
        const int port = QUrl(m_url).port();
        const Ran r = PgCtl(
            {QStringLiteral("-D"), Data(), QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
             QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"),
             QStringLiteral("-c listen_addresses=127.0.0.1 -c port=%1 -c unix_socket_directories='%2' "
                            "-c fsync=off -c max_connections=200")
                 .arg(port)
                 .arg(m_dir.path()),
             QStringLiteral("start")});
        m_running = r.exitCode == 0;
        return m_running ? QString() : r.output;
    }

private:
    QString Data() const { return m_dir.filePath(QStringLiteral("data")); }
    Ran PgCtl(const QStringList &arguments) const
    {
        if (IsRoot())
            return RunProgram(
                QStringLiteral("runuser"),
                QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), m_pgctl} +
                    arguments);
        return RunProgram(m_pgctl, arguments);
    }

    QTemporaryDir m_dir;
    QString m_pgctl;
    QString m_url;
    bool m_running = false;
};

// ---- the table ----

enum class Kind { Lock, ReadOnly, MissingTable, DiskFull, ServerStopped };
enum class Db { SQLite, PostgreSQL };
enum class Window { Editor, Docket, Batch };

struct Row
{
    Kind kind;
    Db db;
    Window window;
    // 0: the fault is there before the session opens; n: it strikes right before the n-th
    // folder is written.
    int strikeAt;
    int written;         // folders this session has written when the fault shows
    const char *table;   // the table a missing-table fault removes
    const char *message; // what the Data Error box must say (a pattern)
    bool failsAtLoad = false;
};

std::string KindName(Kind k)
{
    switch (k) {
    case Kind::Lock:
        return "LockedPastTheBusyTimeout";
    case Kind::ReadOnly:
        return "ReadOnlyFile";
    case Kind::MissingTable:
        return "MissingTable";
    case Kind::DiskFull:
        return "DiskFull";
    case Kind::ServerStopped:
        return "ServerStopped";
    }
    return {};
}

std::string NameOf(const Row &r)
{
    const char *window = r.window == Window::Editor   ? "Editor"
                         : r.window == Window::Docket ? "Docket"
                                                      : "Batch";
    return KindName(r.kind) + "_" + window;
}

// The backend is the instantiation's name (SQLite/..., PostgreSQL/...), so that the server rows
// can be picked out; each row prints as what it breaks and where.
void PrintTo(const Row &r, std::ostream *os)
{
    *os << NameOf(r);
}

// What one session of a window came to.
struct Session
{
    QList<ModalAnswerer::Box> boxes;
    bool closedAtOnce = false;  // docket and batch: gone when the Run click returned
    bool closedByTimer = false; // editor: its unload timer closed it
    bool gone = false;
    int reported = -1; // the count the window announced
};

template <typename T> T *Child(QWidget *w, const char *name)
{
    T *child = w->findChild<T *>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void ClickOut(QWidget *w)
{
    QTest::mouseClick(Child<QRadioButton>(w, "optAction_0"), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

int CountIn(const QList<ModalAnswerer::Box> &boxes)
{
    static const QRegularExpression count(
        QStringLiteral("^(\\d+) folder status change\\(s\\) have been made\\.$"));
    for (const ModalAnswerer::Box &b : boxes) {
        const QRegularExpressionMatch m = count.match(b.text);
        if (m.hasMatch())
            return m.captured(1).toInt();
    }
    return -1;
}

QString Describe(const QList<ModalAnswerer::Box> &boxes)
{
    QStringList all;
    for (const ModalAnswerer::Box &b : boxes)
        all << b.title + QStringLiteral(": ") + b.text;
    return all.join(QStringLiteral(" | "));
}

// ---- a world on the chosen backend, with a clerk's windows ----

class Court : public ::testing::Test
{
protected:
    void OpenWorld(Db db, const QString &server = {})
    {
        if (!server.isEmpty())
            serverEnv.emplace("ZORVA_TEST_POSTGRES", server);
        backendEnv.emplace("ZORVA_TEST_BACKEND",
                           db == Db::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgresql"));
        world.emplace();
        world->InstallReferenceTables();
        // As the windows find it in a clerk's settings: every change is logged.
        SettingsStore::SaveBoolSetting(ComponentName::ApplicationName(), QStringLiteral("FolderEdit"),
                                       QStringLiteral("mnuAppEditPreferencesLoggingAuto"), true);
        modFormFunctions::InstallDataErrorPresenter();
        // An earlier clerk's loan, which no session here touches.
        world->Lend(2001, "CF", 1, "EARLIER CLERK");
        const int today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toInt();
        for (int seq = 1; seq <= Folders; ++seq) {
            world->Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2010,'CF',%1,'%2','1',%3,%4)")
                            .arg(seq)
                            .arg(Judge)
                            .arg(today)
                            .arg(900 + seq));
            world->Exec(QStringLiteral("INSERT INTO MRLCRT.MASCIV VALUES (2009,'CA',%1,'PL',1,'N','ABLE','')")
                            .arg(seq));
            world->Exec(
                QStringLiteral("INSERT INTO MRLCRT.MASCIV VALUES (2009,'CA',%1,'DF',1,'N','BAKER','')")
                    .arg(seq));
        }
        Masters();
    }
    // The criminal masters the docket's branch choice reads.
    void Masters()
    {
        for (int seq = 1; seq <= Folders; ++seq)
            world->Exec(
                QStringLiteral("INSERT INTO MRLCRT.MASCRM VALUES (2010,'CF',%1,'PL',1,'N','STATE','')")
                    .arg(seq));
    }

    // The editor for 2009-CV-123, opened as clsFolder::Edit opens it; the clerk types the party and
    // saves, unless the window fails while loading.
    Session Editor(bool loads)
    {
        Session s;
        ModalAnswerer answerer;
        auto *editor = new frmFolderEdit;
        QPointer<frmFolderEdit> alive = editor;
        editor->SetCaseYear(2009);
        editor->SetCaseType(QStringLiteral("CV"));
        editor->SetCaseSequence(123);
        editor->SetUserName(Clerk);
        QObject::connect(Child<QTimer>(editor, "tmrUnload"), &QTimer::timeout, editor,
                         [&s] { s.closedByTimer = true; });
        std::optional<WindowDriver> driver;
        if (loads)
            driver.emplace(QStringLiteral("frmFolderEdit"), [](QWidget *w) {
                auto *box = Child<QLineEdit>(w, "txtFILOTO");
                box->setFocus();
                QTest::keyClicks(box, Party);
                QTest::mouseClick(Child<QPushButton>(w, "cmdSave"), Qt::LeftButton);
            });
        editor->SetParentHandle(0); // loads the window
        editor->exec();
        if (editor->IsUnloaded())
            delete editor;
        else
            editor->setAttribute(Qt::WA_DeleteOnClose); // it closes itself a moment later
        for (int waited = 0; alive && waited < 5000; waited += 10)
            QTest::qWait(10);
        if (driver) {
            EXPECT_TRUE(driver->Ran() && !driver->TimedOut());
        }
        s.gone = !alive;
        delete alive; // one that stayed open goes, with its hold on this session
        s.boxes = answerer.Seen();
        return s;
    }

    // The docket window on today's docket, every judge, folders out; a branch when given. Opened as
    // clsFolder::UpdateBatch opens it: on the stack, modal; the clerk's clicks come from its loop.
    Session Docket(const QString &branch = {})
    {
        Session s;
        ModalAnswerer answerer({QStringLiteral("OK"), QStringLiteral("Yes")});
        frmFolderDocket docket;
        docket.SetUserName(Clerk);
        docket.Load();
        WindowDriver driver(QStringLiteral("frmFolderDocket"), [&](QWidget *w) {
            if (!branch.isEmpty())
                QTest::keyClicks(Child<QLineEdit>(w, "txtREQBRN"), branch);
            ClickOut(w);
            Child<QPushButton>(w, "cmdRun")->click();
            s.closedAtOnce = docket.IsUnloaded();
            if (!docket.IsUnloaded()) {
                answerer.Queue(QStringLiteral("Yes"));
                docket.close();
            }
        });
        docket.exec();
        EXPECT_TRUE(driver.Ran() && !driver.TimedOut());
        s.gone = docket.IsUnloaded() && !docket.isVisible();
        s.boxes = answerer.Seen();
        s.reported = CountIn(s.boxes);
        return s;
    }

    // The batch window, opened as clsFolder::EditBatch opens it (modeless, gone when closed): the
    // cases pasted in, checked out to the party, Run clicked from the event loop.
    Session Batch(const QStringList &cases)
    {
        Session s;
        ModalAnswerer answerer({QStringLiteral("OK"), QStringLiteral("Yes")});
        auto *batch = new frmFolderBatch;
        QPointer<frmFolderBatch> alive = batch;
        batch->setAttribute(Qt::WA_DeleteOnClose);
        batch->SetUserName(Clerk);
        batch->Load();
        batch->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(batch));
        batch->PasteCases(cases.join(QLatin1Char('\n')));
        ClickOut(batch);
        auto *party = Child<QLineEdit>(batch, "txtCheckOutTo");
        party->setFocus();
        QTest::keyClicks(party, Party);
        QEventLoop loop;
        QTimer::singleShot(0, batch, [&] {
            Child<QPushButton>(batch, "cmdRun")->click();
            s.closedAtOnce = !alive || alive->IsUnloaded();
            loop.quit();
        });
        loop.exec();
        if (alive && !alive->IsUnloaded()) {
            answerer.Queue(QStringLiteral("Yes"));
            alive->close(); // the window stays after a good run: the clerk closes it
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        s.gone = !alive;
        s.boxes = answerer.Seen();
        s.reported = CountIn(s.boxes);
        return s;
    }

    QStringList BatchCasesNotOnLoan() const
    {
        QStringList cases;
        for (int seq = 1; seq <= Folders; ++seq)
            if (world
                    ->Scalar(QStringLiteral(
                                 "SELECT count(*) FROM MRLCRT.FILCHK WHERE FILYER=2009 AND FILTYP='CA' AND "
                                 "FILSEQ=%1")
                                 .arg(seq))
                    .toInt() == 0)
                cases << QStringLiteral("2009-CA-%1").arg(seq);
        return cases;
    }

    static QString Key(const QVariantList &row, int from = 0)
    {
        QStringList parts;
        for (int i = from; i < row.size(); ++i)
            parts << row.at(i).toString().trimmed();
        return parts.join(QLatin1Char(' '));
    }

    // The clerk's loans and log rows tell the same story: `changes` check-outs were made, each
    // logged once, and no log row names a loan that is not there.
    // afterFailedSave: the editor logs a save even when its statement failed (and announces it),
    // so its case may have one log entry without a loan.
    void ExpectEveryChangeLogged(int changes, bool afterFailedSave = false) const
    {
        QStringList loans, log;
        for (const QVariantList &r : world->Rows(
                 QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILOTO FROM MRLCRT.FILCHK WHERE FILUSR='%1'")
                     .arg(Clerk)))
            loans << Key(r);
        for (const QVariantList &r : world->Rows(
                 QStringLiteral(
                     "SELECT LOGOUT, LOGYER, LOGTYP, LOGSEQ, LOGOTO FROM MRLCRT.FILLOG WHERE LOGUSR='%1'")
                     .arg(Clerk))) {
            EXPECT_EQ(r.value(0).toInt(), 1) << Key(r).toStdString();
            log << Key(r, 1);
        }
        if (afterFailedSave && log.size() > changes) {
            const auto failedSave = std::find_if(log.begin(), log.end(), [](const QString &entry) {
                return entry.contains(QLatin1String(" 123 "));
            });
            ASSERT_NE(failedSave, log.end()) << log.join(QStringLiteral(", ")).toStdString();
            log.erase(failedSave);
        }
        EXPECT_EQ(log.size(), changes) << log.join(QStringLiteral(", ")).toStdString();
        for (const QString &entry : log)
            EXPECT_TRUE(loans.contains(entry)) << "logged but not on loan: " << entry.toStdString();
        for (const QString &loan : loans)
            EXPECT_TRUE(log.contains(loan)) << "on loan but not logged: " << loan.toStdString();
    }

    void ExpectEarlierLoanKept() const
    {
        EXPECT_EQ(world->Rows(QStringLiteral("SELECT FILOTO, FILUSR FROM MRLCRT.FILCHK WHERE FILYER=2001")),
                  QList<QVariantList>({{QStringLiteral("EARLIER CLERK"), QStringLiteral("OLD")}}));
    }

    void ExpectIntact() const
    {
        if (TestWorld::OnSQLite()) {
            EXPECT_EQ(world->Scalar(QStringLiteral("PRAGMA MRLCRT.integrity_check")).toString(),
                      QStringLiteral("ok"));
            return;
        }
        world->Exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS amcheck"));
        // Also checks that every row of the table is in the key index.
        EXPECT_EQ(
            world->Rows(QStringLiteral("SELECT bt_index_check('mrlcrt.filchk_key'::regclass, true)")).size(),
            1);
    }

    std::optional<ScopedEnv> serverEnv;
    std::optional<ScopedEnv> backendEnv;
    std::unique_ptr<OwnCluster> cluster;
    std::optional<TestWorld> world;
};

// ---- one fault, one window ----

class Faults : public Court, public ::testing::WithParamInterface<Row>
{
protected:
    void SetUp() override
    {
        const Row &row = GetParam();
        QString server;
        if (row.kind == Kind::ServerStopped) {
            cluster = std::make_unique<OwnCluster>();
            QString why;
            ASSERT_TRUE(cluster->Start(&why)) << why.toStdString();
            server = cluster->Url();
        }
        OpenWorld(row.db, server);
        if (row.kind == Kind::DiskFull)
            PutCourtOnSmallDisk();
    }

    void TearDown() override
    {
        lock.reset();
        // Nothing may hold a file when its mount goes.
        Connection::CloseAll();
        if (readOnly)
            Unmount(world->DatabaseFile());
        if (!mountPoint.isEmpty())
            Unmount(mountPoint);
        if (cluster && !cluster->Running())
            cluster->Restart(); // the world's database is dropped on it
        world.reset();
    }

    // The court file moves onto a small disk of its own; the world's path leads to it.
    void PutCourtOnSmallDisk()
    {
        const QString disk = world->Path(QStringLiteral("disk"));
        QDir().mkpath(disk);
        QString why = PrivateMounts();
        if (why.isEmpty() &&
            ::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=2m") != 0)
            why = QString::fromLocal8Bit(std::strerror(errno));
        if (!why.isEmpty())
            GTEST_SKIP() << "this machine does not allow mounting a small disk: " << why.toStdString();
        mountPoint = disk;
        Connection::CloseAll(); // the last connection folds the journal back into the file
        const QString court = world->DatabaseFile();
        const QString moved = mountPoint + QStringLiteral("/court.db");
        ASSERT_TRUE(QFile::copy(court, moved));
        ASSERT_TRUE(QFile::remove(court));
        ASSERT_TRUE(QFile::link(moved, court));
    }

    // Fills the small disk to the last byte.
    void FillDisk()
    {
        QFile filler(mountPoint + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (const qint64 chunk : {qint64(64 * 1024), qint64(4096), qint64(1)}) {
            const QByteArray block(chunk, 'x');
            while (filler.write(block) == chunk) {
            }
        }
    }

    void Strike()
    {
        const Row &row = GetParam();
        switch (row.kind) {
        case Kind::Lock:
            lock.emplace(*world);
            break;
        case Kind::ReadOnly:
            break; // made before the session
        case Kind::MissingTable:
            world->Exec(QStringLiteral("DROP TABLE MRLCRT.%1").arg(QLatin1String(row.table)));
            break;
        case Kind::DiskFull:
            FillDisk();
            break;
        case Kind::ServerStopped: {
            const QString error = cluster->StopImmediately();
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
            break;
        }
        }
        struck = true;
    }

    void Heal()
    {
        const Row &row = GetParam();
        switch (row.kind) {
        case Kind::Lock:
            lock.reset();
            break;
        case Kind::ReadOnly:
            Unmount(world->DatabaseFile());
            readOnly = false;
            break;
        case Kind::MissingTable: {
            // As zorva-db init puts a lost table back: the schema is created where missing.
            QString error;
            QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
            ASSERT_TRUE(db.isValid()) << error.toStdString();
            ASSERT_TRUE(Schema::Create(db, &error)) << error.toStdString();
            if (QLatin1String(row.table) == QLatin1String("MASCRM"))
                Masters();
            break;
        }
        case Kind::DiskFull:
            ASSERT_TRUE(QFile::remove(mountPoint + QStringLiteral("/filler")));
            break;
        case Kind::ServerStopped: {
            const QString error = cluster->Restart();
            ASSERT_TRUE(error.isEmpty()) << error.toStdString();
            break;
        }
        }
    }

    Session Open()
    {
        const Row &row = GetParam();
        switch (row.window) {
        case Window::Editor:
            return Editor(!row.failsAtLoad);
        case Window::Docket:
            return Docket(row.kind == Kind::MissingTable ? QStringLiteral("N") : QString());
        case Window::Batch: {
            QStringList cases;
            for (int seq = 1; seq <= Folders; ++seq)
                cases << QStringLiteral("2009-CA-%1").arg(seq);
            return Batch(cases);
        }
        }
        return {};
    }

    std::optional<TestWorld::WriteLock> lock;
    QString mountPoint;
    bool readOnly = false;
    bool struck = false;
};

TEST_P(Faults, TheClerkIsToldNothingIsHalfWrittenAndTheNextSessionWorks)
{
    const Row &row = GetParam();

    // The session the fault strikes.
    if (row.kind == Kind::ReadOnly) {
        Connection::CloseAll(); // the clerk starts the program after the file was made read-only
        QString why = PrivateMounts();
        if (why.isEmpty())
            why = MountReadOnly(world->DatabaseFile());
        if (!why.isEmpty())
            GTEST_SKIP() << "this machine does not allow a read-only mount of the court file: "
                         << why.toStdString();
        readOnly = true;
    }
    Session failed;
    {
        std::optional<StatementHook> hook;
        if (row.strikeAt == 0)
            Strike();
        else
            hook.emplace(QStringLiteral("Insert Into MRLCRT.FILCHK"), row.strikeAt, [this] { Strike(); });
        failed = Open();
    }
    ASSERT_TRUE(struck);

    // Told once, in plain words, through the data error box; then the window goes as its rules say.
    ASSERT_GE(failed.boxes.size(), 1) << "no message at all";
    EXPECT_EQ(failed.boxes[0].title, QStringLiteral("Data Error")) << Describe(failed.boxes).toStdString();
    EXPECT_TRUE(failed.boxes[0].text.contains(QRegularExpression(QLatin1String(row.message))))
        << failed.boxes[0].text.toStdString();
    if (row.window == Window::Editor) {
        // Then at most the logging component's own word, when the fault stops the log too.
        EXPECT_LE(failed.boxes.size(), 2) << Describe(failed.boxes).toStdString();
        for (qsizetype i = 1; i < failed.boxes.size(); ++i)
            EXPECT_EQ(failed.boxes[i].title, QStringLiteral("Folder Log")) << Describe(failed.boxes).toStdString();
        // A failed load leaves it to the unload timer; a failed save still ends in the save's own close.
        if (row.failsAtLoad) {
            EXPECT_TRUE(failed.closedByTimer);
        }
    } else {
        // The close guard still asks, as Run stays enabled during a run.
        ASSERT_EQ(failed.boxes.size(), 2) << Describe(failed.boxes).toStdString();
        EXPECT_EQ(failed.boxes[1].text, QStringLiteral("Discard changes?"));
        EXPECT_TRUE(failed.closedAtOnce);
    }
    EXPECT_TRUE(failed.gone);
    EXPECT_EQ(failed.reported, -1);

    // The fault goes: what was written before it stays, whole.
    Heal();
    if (QLatin1String(row.table) != QLatin1String("FILCHK"))
        ExpectEarlierLoanKept();
    EXPECT_EQ(world->Scalar(QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILUSR='%1'").arg(Clerk))
                  .toInt(),
              row.written);
    ExpectEveryChangeLogged(row.written, row.window == Window::Editor);

    // The next session, in the same program, works.
    int changes = row.written;
    Session next;
    switch (row.window) {
    case Window::Editor:
        next = Editor(true);
        EXPECT_FALSE(next.closedByTimer);
        EXPECT_EQ(world->Rows(QStringLiteral("SELECT FILOTO, FILUSR FROM MRLCRT.FILCHK WHERE FILSEQ=123")),
                  QList<QVariantList>({{Party, Clerk}}));
        changes += 1;
        break;
    case Window::Docket:
        next = Open();
        EXPECT_EQ(next.reported, Folders) << Describe(next.boxes).toStdString();
        changes += Folders;
        break;
    case Window::Batch: {
        const QStringList rest = BatchCasesNotOnLoan();
        EXPECT_EQ(rest.size(), Folders - row.written);
        next = Batch(rest);
        EXPECT_EQ(next.reported, rest.size()) << Describe(next.boxes).toStdString();
        EXPECT_TRUE(BatchCasesNotOnLoan().isEmpty());
        changes += int(rest.size());
        break;
    }
    }
    for (const ModalAnswerer::Box &b : next.boxes)
        EXPECT_NE(b.title, QStringLiteral("Data Error")) << b.text.toStdString();
    for (const ModalAnswerer::Box &b : next.boxes)
        EXPECT_NE(b.title, QStringLiteral("Folder Log")) << b.text.toStdString();
    EXPECT_TRUE(next.gone);
    if (QLatin1String(row.table) != QLatin1String("FILCHK"))
        ExpectEarlierLoanKept();
    ExpectEveryChangeLogged(changes, row.window == Window::Editor);
    ExpectIntact();
}

const char Locked[] = "database is locked|canceling statement due to lock timeout";
const char ReadOnlyText[] = "attempt to write a readonly database";
const char NoFILCHK[] = "no such table: MRLCRT\\.FILCHK|relation \"mrlcrt\\.filchk\" does not exist";
const char NoMASCRM[] = "no such table: MRLCRT\\.MASCRM|relation \"mrlcrt\\.mascrm\" does not exist";
const char Full[] = "database or disk is full";
const char ServerGone[] =
    "server closed the connection unexpectedly|terminating connection due to immediate shutdown";

// Another clerk's write transaction outlasts the 5 s wait (the only slow rows); the court file
// made read-only before the program starts (it still reads); the loan table gone before the
// editor opens or before the batch writes, a master table gone in the middle of a docket that
// picks a branch (the folder being written when it goes is finished, the next case's lookup
// fails); the disk holding the court file filling up; the server stopping dead in the middle of
// a run and coming back on the same port.
INSTANTIATE_TEST_SUITE_P(
    SQLite, Faults,
    ::testing::Values(Row{Kind::Lock, Db::SQLite, Window::Editor, 1, 0, "", Locked},
                      Row{Kind::Lock, Db::SQLite, Window::Docket, 3, 2, "", Locked},
                      Row{Kind::ReadOnly, Db::SQLite, Window::Editor, 0, 0, "", ReadOnlyText},
                      Row{Kind::ReadOnly, Db::SQLite, Window::Docket, 0, 0, "", ReadOnlyText},
                      Row{Kind::ReadOnly, Db::SQLite, Window::Batch, 0, 0, "", ReadOnlyText},
                      Row{Kind::MissingTable, Db::SQLite, Window::Editor, 0, 0, "FILCHK", NoFILCHK, true},
                      Row{Kind::MissingTable, Db::SQLite, Window::Docket, 3, 3, "MASCRM", NoMASCRM},
                      Row{Kind::MissingTable, Db::SQLite, Window::Batch, 1, 0, "FILCHK", NoFILCHK},
                      Row{Kind::DiskFull, Db::SQLite, Window::Editor, 1, 0, "", Full},
                      Row{Kind::DiskFull, Db::SQLite, Window::Docket, 3, 2, "", Full},
                      Row{Kind::DiskFull, Db::SQLite, Window::Batch, 3, 2, "", Full}));
INSTANTIATE_TEST_SUITE_P(
    PostgreSQL, Faults,
    ::testing::Values(Row{Kind::Lock, Db::PostgreSQL, Window::Editor, 1, 0, "", Locked},
                      Row{Kind::Lock, Db::PostgreSQL, Window::Docket, 3, 2, "", Locked},
                      Row{Kind::MissingTable, Db::PostgreSQL, Window::Editor, 0, 0, "FILCHK", NoFILCHK, true},
                      Row{Kind::MissingTable, Db::PostgreSQL, Window::Docket, 3, 3, "MASCRM", NoMASCRM},
                      Row{Kind::MissingTable, Db::PostgreSQL, Window::Batch, 1, 0, "FILCHK", NoFILCHK},
                      Row{Kind::ServerStopped, Db::PostgreSQL, Window::Docket, 3, 2, "", ServerGone},
                      Row{Kind::ServerStopped, Db::PostgreSQL, Window::Batch, 3, 2, "", ServerGone}));

// ---- a court file writable again, in the same program ----

class ReadOnlyFile : public Court
{
protected:
    void SetUp() override { OpenWorld(Db::SQLite); }
    void TearDown() override
    {
        Connection::CloseAll();
        if (readOnly)
            Unmount(world->DatabaseFile());
        world.reset();
    }
    bool readOnly = false;
};

// A court file that could be opened only for reading must not stay so for the rest of the
// program: once it is writable again, the next save works without a restart.
TEST_F(ReadOnlyFile, TheSameProgramSavesOnceTheFileIsWritableAgain)
{
    Connection::CloseAll();
    QString why = PrivateMounts();
    if (why.isEmpty())
        why = MountReadOnly(world->DatabaseFile());
    if (!why.isEmpty())
        GTEST_SKIP() << "this machine does not allow a read-only mount of the court file: "
                     << why.toStdString();
    readOnly = true;
    const Session failed = Editor(true);
    // The save fails, and so does the log entry the editor writes for it.
    ASSERT_EQ(failed.boxes.size(), 2) << Describe(failed.boxes).toStdString();
    EXPECT_TRUE(failed.boxes[0].text.contains(QLatin1String(ReadOnlyText)))
        << failed.boxes[0].text.toStdString();
    EXPECT_EQ(failed.boxes[1].title, QStringLiteral("Folder Log"));

    Unmount(world->DatabaseFile());
    readOnly = false;
    const Session next = Editor(true);
    EXPECT_TRUE(next.boxes.isEmpty()) << Describe(next.boxes).toStdString();
    ExpectEveryChangeLogged(1);
}

// ---- the log table lost: the loans stand and the clerk is told how many went unlogged ----

// The backend is the instantiation's name; the window is the docket's.
void PrintTo(Db, std::ostream *os)
{
    *os << "Docket";
}

class LostLog : public Court, public ::testing::WithParamInterface<Db>
{
protected:
    void SetUp() override { OpenWorld(GetParam()); }
    void TearDown() override { world.reset(); }
};

TEST_P(LostLog, TheUnloggedLoansAreToldOnceAndTheRunGoesOn)
{
    Session s;
    {
        StatementHook hook(QStringLiteral("Insert Into MRLCRT.FILCHK"), 3,
                           [this] { world->Exec(QStringLiteral("DROP TABLE MRLCRT.FILLOG")); });
        s = Docket();
        ASSERT_TRUE(hook.Fired());
    }
    // The logging component's rule: a failure is shown and never undoes the loan.
    EXPECT_EQ(s.reported, Folders) << Describe(s.boxes).toStdString();
    // One box for the run, however many folders went unlogged.
    int told = 0;
    for (const ModalAnswerer::Box &b : s.boxes) {
        if (b.title != QLatin1String("Folder Log"))
            continue;
        ++told;
        EXPECT_TRUE(b.text.startsWith(QStringLiteral("%1 folder status change(s) could not be logged:\n").arg(Folders - 2)))
            << b.text.toStdString();
        EXPECT_TRUE(
            b.text.contains(QRegularExpression(QStringLiteral("no such table: MRLCRT\\.FILLOG|relation "
                                                              "\"mrlcrt\\.fillog\" does not exist"))))
            << b.text.toStdString();
    }
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(s.gone);
    EXPECT_EQ(world->Scalar(QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILUSR='%1'").arg(Clerk))
                  .toInt(),
              Folders);

    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    ASSERT_TRUE(Schema::Create(db, &error)) << error.toStdString();
    const Session next = Docket();
    EXPECT_EQ(next.reported, Folders) << Describe(next.boxes).toStdString();
    ExpectEveryChangeLogged(Folders);
    ExpectIntact();
}

INSTANTIATE_TEST_SUITE_P(SQLite, LostLog, ::testing::Values(Db::SQLite));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, LostLog, ::testing::Values(Db::PostgreSQL));

// ---- a wrong connection URL: the message names it and who chose it ----

enum class Chooser { Environment, Setting, Program };

struct UrlRow
{
    const char *name;
    Chooser chooser;
    const char *url; // %1: the world's folder, %2: a port where nothing listens
    const char *why; // what the message must say besides the URL and its origin
};

void PrintTo(const UrlRow &r, std::ostream *os)
{
    *os << r.name;
}

class WrongUrl : public Court, public ::testing::WithParamInterface<UrlRow>
{
protected:
    void SetUp() override { OpenWorld(Db::SQLite); }
    void TearDown() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(Connection::SettingsOrganization),
                  QLatin1String(Connection::SettingsApplication))
            .remove(QLatin1String(Connection::SettingsKey));
        world.reset();
    }
    static int DeadPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        return probe.serverPort(); // closed again when this returns
    }
};

TEST_P(WrongUrl, TheMessageNamesTheUrlAndWhoChoseIt)
{
    const UrlRow &row = GetParam();
    const QString url = QString::fromLatin1(row.url)
                            .replace(QLatin1String("%1"), world->Path(QStringLiteral("missing")))
                            .replace(QLatin1String("%2"), QString::number(DeadPort()));
    const QString good = world->DatabaseUrl();
    QString origin;
    QSettings store(QSettings::IniFormat, QSettings::UserScope,
                    QLatin1String(Connection::SettingsOrganization),
                    QLatin1String(Connection::SettingsApplication));
    switch (row.chooser) {
    case Chooser::Environment:
        Connection::Use({});
        qputenv(Connection::EnvironmentVariable, url.toUtf8());
        origin = QStringLiteral("the environment variable ZORVA_DATABASE");
        break;
    case Chooser::Setting:
        Connection::Use({});
        qunsetenv(Connection::EnvironmentVariable);
        store.setValue(QLatin1String(Connection::SettingsKey), url);
        store.sync();
        origin = QStringLiteral("the setting Connection/Database in ") + store.fileName();
        break;
    case Chooser::Program:
        Connection::Use(url, QStringLiteral("the --database option"));
        origin = QStringLiteral("the --database option");
        break;
    }

    const Session failed = Editor(false);
    ASSERT_EQ(failed.boxes.size(), 1) << Describe(failed.boxes).toStdString();
    EXPECT_EQ(failed.boxes[0].title, QStringLiteral("Data Error"));
    const QString &text = failed.boxes[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1\" (%2)").arg(url, origin))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QLatin1String(row.why)))) << text.toStdString();
    EXPECT_TRUE(failed.closedByTimer && failed.gone);

    // Pointed back at the court, the next editor saves.
    store.remove(QLatin1String(Connection::SettingsKey));
    store.sync();
    qputenv(Connection::EnvironmentVariable, good.toUtf8());
    Connection::Use(good);
    const Session next = Editor(true);
    EXPECT_TRUE(next.boxes.isEmpty()) << Describe(next.boxes).toStdString();
    ExpectEarlierLoanKept();
    ExpectEveryChangeLogged(1);
    ExpectIntact();
}

INSTANTIATE_TEST_SUITE_P(
    SQLite, WrongUrl,
    ::testing::Values(UrlRow{"UnknownScheme", Chooser::Environment, "mysql://clerk@courthouse/court",
                             "has an unknown scheme; use sqlite:"},
                      UrlRow{"FileInAMissingFolder", Chooser::Setting, "sqlite:%1/court.db",
                             "cannot be opened: the file \".*/missing/court\\.db\" does not exist"},
                      UrlRow{"NobodyListening", Chooser::Program, "postgresql://zorva@127.0.0.1:%2/court",
                             "cannot be opened: .*(Connection refused|connection refused)"}));

} // namespace
