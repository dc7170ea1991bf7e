#include "Court.h"

#include "forms/folder_batch/BatchRun.h"
#include "forms/folder_docket/DocketRun.h"
#include "records/DataObject.h"

namespace Court {

namespace {
QString Key(const QVariantList &r) { return QStringLiteral("%1 %2 %3").arg(r[0].toString(), r[1].toString().trimmed(), r[2].toString()); }
} // namespace

void Hearings(const TestWorld &world, int folders)
{
    for (int seq = 1; seq <= folders; ++seq)
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2010,'CF',%1,'SMI','1',%2,%3)")
                       .arg(seq).arg(Day.toString(QStringLiteral("yyyyMMdd"))).arg(800 + seq));
}

Outcome Run(const QString &user, const QString &run, int folders, const std::function<void()> &visited)
{
    Outcome out;
    const auto told = [&out](qint32, const QString &text) { out.errors << text; };
    if (run.startsWith(QLatin1String("docket"))) {
        DocketSelection selection;
        selection.hearingDate = Day;
        selection.action = run.endsWith(QLatin1String("out")) ? QStringLiteral("*OUT") : QStringLiteral("*IN");
        DocketRun docket(selection, user, true, false);
        for (DataObject *data : {docket.adoHRGDTA(), docket.adoMASTER(), docket.adoFILCHK()})
            QObject::connect(data, &DataObject::Error, told);
        out.count = docket.Run([&](qsizetype, qsizetype) { if (visited) visited(); });
        out.leftOut = docket.LeftOut();
        return out;
    }
    const bool in = run.endsWith(QLatin1String("in"));
    QList<BatchRun::Row> rows;
    for (int seq = 1; seq <= folders; ++seq)
        rows.append({2010, QStringLiteral("CF"), double(seq), QStringLiteral("EARLIER")});
    DataObject data;
    QObject::connect(&data, &DataObject::Error, told);
    BatchRun batch(&data, {in ? QStringLiteral("*IN") : QStringLiteral("*OUT"), QStringLiteral("DA OFFICE"), user, true, false});
    out.count = batch.Run(rows, {}, [&](qsizetype, qsizetype) { if (visited) visited(); });
    return out;
}

QMap<QString, QString> Loans(const TestWorld &world)
{
    QMap<QString, QString> loans;
    for (const QVariantList &r : world.Rows(QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILOTO FROM MRLCRT.FILCHK")))
        loans.insert(Key(r), r[3].toString());
    return loans;
}

QStringList Unexplained(const TestWorld &world, const QMap<QString, QString> &before)
{
    QMap<QString, QString> told = before; // where the log says each folder is; "" for back
    for (const QVariantList &r : world.Rows(QStringLiteral("SELECT LOGYER, LOGTYP, LOGSEQ, LOGOUT, LOGOTO FROM "
                                                           "MRLCRT.FILLOG ORDER BY ") + TestWorld::InsertionOrder()))
        told[Key(r)] = r[3].toInt() == 1 ? r[4].toString() : QString();
    const QMap<QString, QString> loans = Loans(world);
    QStringList wrong;
    for (auto it = told.cbegin(); it != told.cend(); ++it)
        if (loans.value(it.key()) != it.value())
            wrong << it.key() + QStringLiteral(": log says \"%1\", loan \"%2\"").arg(it.value(), loans.value(it.key()));
    for (auto it = loans.cbegin(); it != loans.cend(); ++it)
        if (!told.contains(it.key()))
            wrong << it.key() + QStringLiteral(": on loan to %1 without a log row").arg(it.value());
    return wrong;
}

QString Integrity(const TestWorld &world)
{
    return TestWorld::OnSQLite() ? world.Scalar(QStringLiteral("PRAGMA MRLCRT.integrity_check")).toString()
                                 : QStringLiteral("ok");
}

} // namespace Court
