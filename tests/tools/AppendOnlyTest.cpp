#include "ZorvaDb.h"

#include <gtest/gtest.h>

namespace {

const QString OldLogTable = "CREATE TABLE MRLCRT.FILLOG (LOGTSP TEXT NOT NULL, LOGYER INTEGER, LOGTYP TEXT, LOGSEQ INTEGER,"
                            " LOGAUT INTEGER, LOGUSR TEXT, LOGOTO TEXT, LOGOUT INTEGER)";
const QString LogRow = "INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT)"
                       " VALUES ('2026-01-05T09:30:00.000Z',2009,'CV',123,1,'CLERK1','SMI',1)";

// On a server: the court's roles made by init, and a login of each kind; all gone with the test.
class Logins
{
public:
    explicit Logins(const TestWorld &world) : m_world(world), m_db(world.ServerDatabase())
    {
        if (m_db.isEmpty())
            return;
        ZorvaDb zorva(world);
        EXPECT_EQ(zorva.Run({"init", world.DatabaseUrl()}).exitCode, 0);
        for (const char *kind : {"reader", "clerk"}) {
            world.Exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(Login(kind)));
            const ZorvaDb::Result r = zorva.Run({"grant", kind, Login(kind), "--db", world.DatabaseUrl()});
            EXPECT_EQ(r.exitCode, 0) << r;
        }
    }
    ~Logins()
    {
        if (m_db.isEmpty())
            return;
        const QString all = QStringList{Login("reader"), Login("clerk"), m_db + "_reader", m_db + "_clerk"}.join(", ");
        m_world.Exec("DROP OWNED BY " + all);
        m_world.Exec("DROP ROLE " + all);
    }
    QString Login(const QString &kind) const { return m_db + "_" + kind.left(1) + "_login"; }

private:
    const TestWorld &m_world;
    QString m_db;
};

// What the court refuses, and to whom: nobody rewrites the log (not even its owner); a reader
// may read but not change a loan nor add a log row; a clerk may do both.
TEST(CourtRecord, RefusesWhatNoOneMayDo)
{
    // who: "" the owner, else the login of that kind (server only); refused: a part of the refusal,
    // empty when the statement must run
    const struct { const char *name; bool serverOnly; const char *who; QString statement; const char *refused; } cases[] = {
        {"an update of a log row", false, "", "UPDATE MRLCRT.FILLOG SET LOGOTO='SOMEONE'", "append-only"},
        {"a delete of a log row", false, "", "DELETE FROM MRLCRT.FILLOG WHERE LOGSEQ=123", "append-only"},
        {"the log emptied", true, "", "TRUNCATE MRLCRT.FILLOG", "append-only"},
        {"a reader's loan", true, "reader", "INSERT INTO MRLCRT.FILCHK VALUES (2010,'CF',7,'SMI',1052026,'R')", "permission denied"},
        {"a reader's change of a loan", true, "reader", "UPDATE MRLCRT.FILCHK SET FILOTO='R'", "permission denied"},
        {"a reader's return", true, "reader", "DELETE FROM MRLCRT.FILCHK", "permission denied"},
        {"a reader's log row", true, "reader", LogRow, "permission denied"},
        {"a reader's read", true, "reader", "SELECT FILOTO, ifnull(FILUSR, '') FROM MRLCRT.FILCHK", ""},
        {"a reader's case title", true, "reader", "SELECT * FROM mrlcrt.wingetsty('', 2009, 'CV', 123, '', 0)", ""},
        {"a clerk's loan", true, "clerk", "INSERT INTO MRLCRT.FILCHK VALUES (2010,'CF',7,'SMI',1052026,'C')", ""},
        {"a clerk's return", true, "clerk", "DELETE FROM MRLCRT.FILCHK WHERE FILSEQ=123", ""},
        {"a clerk's log row", true, "clerk", LogRow, ""},
        {"a clerk's update of a log row", true, "clerk", "UPDATE MRLCRT.FILLOG SET LOGOTO='SOMEONE'", "permission denied"},
    };
    TestWorld world;
    const Logins logins(world);
    world.Lend(2009, "CV", 123, "SMI");
    world.Exec(LogRow);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.serverOnly && TestWorld::OnSQLite())
            continue;
        const QString who = *c.who ? logins.Login(c.who) : QString();
        const QString refusal = world.Refusal(c.statement, who);
        if (*c.refused)
            EXPECT_TRUE(refusal.contains(c.refused)) << "refused with: " << refusal.toStdString();
        else
            EXPECT_EQ(refusal, "");
    }
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGOTO='SOMEONE'").toInt(), 0);
}

// init on a court made before the chain: the digest column and the triggers are added, the rows
// stay as they were (unchained).
TEST(CourtRecord, InitAddsTheChainToAnOlderCourt)
{
    TestWorld world;
    world.Exec("DROP TABLE MRLCRT.FILLOG");
    world.Exec(OldLogTable);
    world.Exec(LogRow);
    const ZorvaDb::Result r = ZorvaDb(world).Run({"init", world.DatabaseUrl()});
    EXPECT_EQ(r.exitCode, 0) << r;
    const QList<QVariantList> rows = world.Rows("SELECT LOGTSP, LOGOTO, LOGDIG FROM MRLCRT.FILLOG");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].mid(0, 2), QVariantList({"2026-01-05T09:30:00.000Z", "SMI"}));
    EXPECT_TRUE(rows[0][2].isNull()) << rows[0][2].toString().toStdString();
    EXPECT_TRUE(world.Refusal("DELETE FROM MRLCRT.FILLOG").contains("append-only"));
    if (!TestWorld::OnSQLite()) {
        const QString roles = world.ServerDatabase() + "_reader, " + world.ServerDatabase() + "_clerk";
        world.Exec("DROP OWNED BY " + roles);
        world.Exec("DROP ROLE " + roles);
    }
}

} // namespace
