#include "BenchCourt.h"

#include "records/Connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

BenchCourt::BenchCourt(int hearings)
{
    Connection::Use(QStringLiteral("sqlite:") + File());
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid())
        throw std::runtime_error(error.toStdString());
    db.transaction();
    QSqlQuery hearing(db), master(db);
    hearing.prepare(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (?,?,?,?,?,?,?)"));
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
        hearing.exec();
        const bool civil = type == QLatin1String("CA") || type == QLatin1String("SC");
        master.prepare(QStringLiteral("INSERT INTO MRLCRT.%1 VALUES (2026,?,?,'PL',1,?,'PARTY','')")
                           .arg(civil ? QStringLiteral("MASCIV") : QStringLiteral("MASCRM")));
        master.addBindValue(type);
        master.addBindValue(100000 + i);
        master.addBindValue(i % 2 ? QStringLiteral("S") : QStringLiteral("N"));
        master.exec();
    }
    hearing.finish();
    master.finish();
    db.commit();
}

void BenchCourt::Exec(const QString &statement)
{
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw std::runtime_error(q.lastError().text().toStdString());
}

void BenchCourt::LendAll()
{
    ReturnAll();
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK SELECT HRGYER, HRGTYP, HRGSEQ, 'OLD PARTY', 1052026, 'OLD' "
                        "FROM MRLCRT.HRGDTA WHERE HRGHDT=%1")
             .arg(Day));
}

void BenchCourt::ReturnAll() { Exec(QStringLiteral("DELETE FROM MRLCRT.FILCHK")); }
