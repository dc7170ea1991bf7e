#include "TestWorld.h"

#include "records/Connection.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

// A connection of the test's own, with the file attached under the same name as in the product.
template <typename Fn> void WithDatabase(const QString &file, Fn fn)
{
    const QString name = QStringLiteral("test.world");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("ATTACH DATABASE '%1' AS MRLCRT").arg(file))) << q.lastError().text().toStdString();
        q.finish();
        fn(db);
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

TestWorld::TestWorld()
{
    EXPECT_TRUE(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Path(QStringLiteral("settings")));
    qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
    // The component library keeps a data layer of its own, which finds the file through the
    // environment; code linked into the test is pointed at it directly.
    qputenv(Connection::EnvironmentVariable, DatabaseUrl().toUtf8());
    // Opening the layer on a new file creates the schema, as a first start does.
    Connection::Use(DatabaseUrl());
    QString error;
    EXPECT_TRUE(Connection::Database(QStringLiteral("data"), &error).isValid()) << error.toStdString();
}

TestWorld::~TestWorld()
{
    Connection::Use({});
    qunsetenv(Connection::EnvironmentVariable);
    qunsetenv("ZORVA_PROGRAM_FILES");
}

QString TestWorld::InstallReferenceTables() const
{
    const QString folder = Path(QStringLiteral("programs/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"));
    EXPECT_TRUE(QDir().mkpath(folder));
    for (const char *table : {"ARYTYP.XML", "ARYJDG.XML", "ARYROM.XML"})
        EXPECT_TRUE(QFile::copy(QStringLiteral(ZORVA_SOURCE_DIR "/data/") + table, folder + table)) << table;
    qputenv("ZORVA_PROGRAM_FILES", Path(QStringLiteral("programs")).toUtf8());
    return folder;
}

void TestWorld::Lend(int year, const QString &type, int sequence, const QString &party) const
{
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (%1,'%2',%3,'%4',1052026,'OLD')")
             .arg(year)
             .arg(type)
             .arg(sequence)
             .arg(QString(party).replace(QLatin1Char('\''), QLatin1String("''"))));
}

void TestWorld::Exec(const QString &statement) const
{
    WithDatabase(DatabaseFile(), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(statement)) << statement.toStdString() << ": " << q.lastError().text().toStdString();
    });
}

QVariant TestWorld::Scalar(const QString &query) const
{
    const QList<QVariantList> rows = Rows(query);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

QList<QVariantList> TestWorld::Rows(const QString &query) const
{
    QList<QVariantList> rows;
    WithDatabase(DatabaseFile(), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(query)) << query.toStdString() << ": " << q.lastError().text().toStdString();
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            rows << row;
        }
    });
    return rows;
}
