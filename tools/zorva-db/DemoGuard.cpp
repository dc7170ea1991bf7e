#include "DemoGuard.h"

#include "util/modFormatCaseNumber.h"
#include "util/modTypeOfCase.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

namespace DemoGuard {
namespace {

constexpr int Named = 3; // case numbers named per kind; the count says the rest

QString Text(const QVariant &v) { return v.toString().trimmed(); }

QString KeyOf(qint64 year, const QString &type, qint64 sequence)
{
    return modFormatCaseNumber::FormatCaseNumber(static_cast<qint16>(year), type, static_cast<qint32>(sequence),
                                                 QString(), 0, true);
}

QString KeyOf(const CaseKey &k) { return KeyOf(k.year, k.type, k.sequence); }

// The first columns of every row are year, type and sequence; the row's text is all columns.
struct Row
{
    QString key;
    QString text;
};

bool ForEachRow(QSqlDatabase &db, const QString &query, const std::function<void(const Row &)> &fn,
                QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(query)) {
        *error = QStringLiteral("\"%1\" failed: %2").arg(query, q.lastError().text());
        return false;
    }
    while (q.next()) {
        Row row{KeyOf(q.value(0).toLongLong(), Text(q.value(1)), q.value(2).toLongLong()), {}};
        QStringList columns{row.key};
        for (int i = 3; i < q.record().count(); ++i)
            columns << Text(q.value(i));
        row.text = columns.join(QLatin1Char('|'));
        fn(row);
    }
    return true;
}

struct Tally
{
    qsizetype count = 0;
    QStringList named;

    void Add(const QString &what)
    {
        ++count;
        if (named.size() < Named && !named.contains(what))
            named << what;
    }

    QString Line(const QString &singular, const QString &plural) const
    {
        return QStringLiteral("%1 %2 (%3%4)")
            .arg(count)
            .arg(count == 1 ? singular : plural, named.join(QStringLiteral(", ")),
                 count > named.size() ? QStringLiteral(", ...") : QString());
    }
};

} // namespace

bool Foreign(QSqlDatabase &db, const Court::Rows &demo, QStringList *found, QString *error)
{
    QSet<QString> demoCases, demoMasters, demoLoans;
    QHash<QString, int> demoLog; // a case may be lent to the same party twice
    for (const Court::Case &c : demo.cases) {
        demoCases << KeyOf(c.key);
        const QString table = modTypeOfCase::MasterTableName(c.key.type);
        for (const Court::Litigant &l : c.litigants)
            demoMasters << QStringList{table, KeyOf(c.key), l.type, QString::number(l.number), c.branch, l.name,
                                       l.attorney}
                               .join(QLatin1Char('|'));
    }
    for (const Court::Loan &l : demo.loans)
        demoLoans << QStringList{KeyOf(l.key), l.party, l.user}.join(QLatin1Char('|'));
    for (const Court::LogEntry &e : demo.log)
        ++demoLog[QStringList{KeyOf(e.key), e.out ? QStringLiteral("1") : QStringLiteral("0"), e.party, e.user,
                              e.automatic ? QStringLiteral("1") : QStringLiteral("0")}
                      .join(QLatin1Char('|'))];

    Tally cases, loans, history;
    QSet<QString> foreignCases;
    for (const char *table : {"MASCRM", "MASCIV"}) {
        const QString name = QLatin1String(table);
        if (!ForEachRow(
                db,
                QStringLiteral("SELECT MASYER, MASTYP, MASSEQ, MASLTP, MASLIT, MASBRN, MASNAM, MASATY FROM MRLCRT.%1")
                    .arg(name),
                [&](const Row &r) {
                    if (!demoMasters.contains(name + QLatin1Char('|') + r.text) && !foreignCases.contains(r.key)) {
                        foreignCases << r.key;
                        cases.Add(r.key);
                    }
                },
                error))
            return false;
    }
    if (!ForEachRow(
            db, QStringLiteral("SELECT DISTINCT HRGYER, HRGTYP, HRGSEQ FROM MRLCRT.HRGDTA"),
            [&](const Row &r) {
                if (!demoCases.contains(r.key) && !foreignCases.contains(r.key)) {
                    foreignCases << r.key;
                    cases.Add(r.key);
                }
            },
            error))
        return false;
    if (!ForEachRow(
            db, QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUSR FROM MRLCRT.FILCHK"),
            [&](const Row &r) {
                if (!demoLoans.contains(r.text))
                    loans.Add(r.key);
            },
            error))
        return false;
    if (!ForEachRow(
            db, QStringLiteral("SELECT LOGYER, LOGTYP, LOGSEQ, LOGOUT, LOGOTO, LOGUSR, LOGAUT FROM MRLCRT.FILLOG"),
            [&](const Row &r) {
                int &left = demoLog[r.text];
                if (left > 0)
                    --left;
                else
                    history.Add(r.key);
            },
            error))
        return false;

    found->clear();
    if (cases.count > 0)
        *found << cases.Line(QStringLiteral("case"), QStringLiteral("cases"));
    if (loans.count > 0)
        *found << loans.Line(QStringLiteral("loan"), QStringLiteral("loans"));
    if (history.count > 0)
        *found << history.Line(QStringLiteral("history row"), QStringLiteral("history rows"));
    return true;
}

} // namespace DemoGuard
