#include "BenchCourt.h"

#include "records/Connection.h"
#include "records/Schema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <stdexcept>

namespace {

QSqlDatabase DataConnection()
{
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid())
        throw std::runtime_error(error.toStdString());
    return db;
}

} // namespace

BenchCourt::BenchCourt(int hearings)
{
    // A new file, made into a court with the schema on purpose.
    m_url = QStringLiteral("sqlite:") + File();
    Connection::Use(m_url, QStringLiteral("the benchmark"), Connection::Access::Create);
    Seed(hearings);
}

BenchCourt::BenchCourt(int hearings, const QString &adminUrl) : m_adminUrl(adminUrl)
{
    QUrl url(adminUrl);
    if (!url.isValid() || url.host().isEmpty())
        throw std::runtime_error("not a postgresql://user@host:port/db URL: " + adminUrl.toStdString());
    m_serverDatabase = QStringLiteral("zorva_bench_%1").arg(QCoreApplication::applicationPid());
    Administer(QStringLiteral("CREATE DATABASE %1").arg(m_serverDatabase));
    url.setPath(QLatin1Char('/') + m_serverDatabase);
    m_url = url.toString();
    try {
        Connection::Use(m_url);
        QSqlDatabase db = DataConnection();
        QString error;
        if (!Schema::Create(db, &error))
            throw std::runtime_error(error.toStdString());
        // The runs reset the loan table between them and vacuum it themselves (ReturnAll), so
        // that no vacuum of the server's own falls inside a timed run.
        Exec(QStringLiteral("ALTER TABLE MRLCRT.FILCHK SET (autovacuum_enabled = false)"));
        Seed(hearings);
        Exec(QStringLiteral("VACUUM ANALYZE"));
    } catch (...) {
        DropServerDatabase();
        throw;
    }
}

BenchCourt::~BenchCourt()
{
    if (OnServer())
        DropServerDatabase();
    else
        Connection::Use({});
}

void BenchCourt::DropServerDatabase()
{
    Connection::Use({});
    try {
        Administer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_serverDatabase));
    } catch (const std::exception &) {
        // The server may be gone already; there is nothing left to drop then.
    }
}

void BenchCourt::Seed(int hearings)
{
    QSqlDatabase db = DataConnection();
    db.transaction();
    QSqlQuery hearing(db), criminal(db), civil(db);
    hearing.prepare(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (?,?,?,?,?,?,?)"));
    criminal.prepare(QStringLiteral("INSERT INTO MRLCRT.MASCRM VALUES (2026,?,?,'PL',1,?,'PARTY','')"));
    civil.prepare(QStringLiteral("INSERT INTO MRLCRT.MASCIV VALUES (2026,?,?,'PL',1,?,'PARTY','')"));
    const char *types[] = {"CF", "CA", "CM", "SC"}; // criminal and civil alternate
    const char *judges[] = {"SMI", "JON", "GAR", "ALV"};
    for (int i = 0; i < hearings; ++i) {
        const QString type = QLatin1String(types[i % 4]);
        hearing.addBindValue(2026);
        hearing.addBindValue(type);
        hearing.addBindValue(100000 + i);
        hearing.addBindValue(QLatin1String(judges[i % 4]));
        hearing.addBindValue(QString::number(i % 5 + 1));
        hearing.addBindValue(Day);
        hearing.addBindValue(800 + (i % 9) * 100);
        if (!hearing.exec())
            throw std::runtime_error(hearing.lastError().text().toStdString());
        QSqlQuery &master = type == QLatin1String("CA") || type == QLatin1String("SC") ? civil : criminal;
        master.addBindValue(type);
        master.addBindValue(100000 + i);
        master.addBindValue(i % 2 ? QStringLiteral("S") : QStringLiteral("N"));
        if (!master.exec())
            throw std::runtime_error(master.lastError().text().toStdString());
    }
    hearing.finish();
    criminal.finish();
    civil.finish();
    if (!db.commit())
        throw std::runtime_error(db.lastError().text().toStdString());
}

void BenchCourt::Exec(const QString &statement)
{
    QSqlQuery q(DataConnection());
    if (!q.exec(statement))
        throw std::runtime_error(q.lastError().text().toStdString());
}

void BenchCourt::Administer(const QString &statement)
{
    // The server's maintenance database, on a connection of its own outside the data layer.
    const QUrl url(m_adminUrl);
    const QString name = QStringLiteral("bench.admin");
    std::string failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(url.host());
        if (url.port() > 0)
            db.setPort(url.port());
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1));
        if (!db.open()) {
            failure = db.lastError().text().toStdString();
        } else {
            QSqlQuery q(db);
            if (!q.exec(statement))
                failure = statement.toStdString() + ": " + q.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.empty())
        throw std::runtime_error(failure);
}

void BenchCourt::LendAll()
{
    ReturnAll();
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK SELECT HRGYER, HRGTYP, HRGSEQ, 'OLD PARTY', 1052026, 'OLD' "
                        "FROM MRLCRT.HRGDTA WHERE HRGHDT=%1")
             .arg(Day));
    if (OnServer())
        Settle();
}

void BenchCourt::ReturnAll()
{
    Exec(QStringLiteral("DELETE FROM MRLCRT.FILCHK"));
    if (OnServer())
        Settle();
}

void BenchCourt::Unchain()
{
    Connection::Use(m_url);
    Exec(QStringLiteral("DROP TABLE MRLCRT.FILLOG"));
    Exec(QStringLiteral("CREATE TABLE MRLCRT.FILLOG (LOGTSP TEXT NOT NULL, LOGYER INTEGER, LOGTYP TEXT, LOGSEQ INTEGER,"
                        " LOGAUT INTEGER, LOGUSR TEXT, LOGOTO TEXT, LOGOUT INTEGER)"));
    Exec(OnServer() ? QStringLiteral("CREATE INDEX fillog_key ON mrlcrt.fillog (logyer, logtyp, logseq)")
                    : QStringLiteral("CREATE INDEX MRLCRT.FILLOG_KEY ON FILLOG (LOGYER, LOGTYP, LOGSEQ)"));
}

void BenchCourt::Settle()
{
    // Every run on a server starts from the same table (no dead rows left by the run before) and
    // just after a checkpoint: no checkpoint of the server's own falls inside a run, and each run
    // writes the same full pages to the log.
    Exec(QStringLiteral("VACUUM ANALYZE MRLCRT.FILCHK"));
    Exec(QStringLiteral("CHECKPOINT"));
}
