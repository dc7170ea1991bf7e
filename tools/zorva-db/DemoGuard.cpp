#include "DemoGuard.h"

#include "ConsoleText.h"

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

// The records of one kind that are not the demo's; a kind counted per case counts each case once.
struct Tally
{
    Tally(const QString &one, const QString &many, bool eachCaseOnce = false)
        : singular(one), plural(many), perCase(eachCaseOnce)
    {}

    QString singular, plural;
    bool perCase;
    qsizetype count = 0;
    QStringList named;
    QSet<QString> seen;

    void Add(const QString &key)
    {
        if (perCase && seen.contains(key))
            return;
        seen << key;
        ++count;
        const QString shown = ConsoleText::Visible(key);
        if (named.size() < Named && !named.contains(shown))
            named << shown;
    }

    QString Line() const
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
    QHash<QString, int> demoLog;
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

    Tally cases{QStringLiteral("case"), QStringLiteral("cases"), true};
    Tally loans{QStringLiteral("loan"), QStringLiteral("loans")};
    Tally history{QStringLiteral("history row"), QStringLiteral("history rows")};
    const QString masters =
        QStringLiteral("SELECT MASYER, MASTYP, MASSEQ, MASLTP, MASLIT, MASBRN, MASNAM, MASATY FROM MRLCRT.%1");
    const struct
    {
        QString query;
        Tally &tally;
        std::function<bool(const Row &)> isDemo;
    } sources[] = {
        {masters.arg(QStringLiteral("MASCRM")), cases,
         [&](const Row &r) { return demoMasters.contains(QStringLiteral("MASCRM|") + r.text); }},
        {masters.arg(QStringLiteral("MASCIV")), cases,
         [&](const Row &r) { return demoMasters.contains(QStringLiteral("MASCIV|") + r.text); }},
        {QStringLiteral("SELECT DISTINCT HRGYER, HRGTYP, HRGSEQ FROM MRLCRT.HRGDTA"), cases,
         [&](const Row &r) { return demoCases.contains(r.key); }},
        {QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUSR FROM MRLCRT.FILCHK"), loans,
         [&](const Row &r) { return demoLoans.contains(r.text); }},
        {QStringLiteral("SELECT LOGYER, LOGTYP, LOGSEQ, LOGOUT, LOGOTO, LOGUSR, LOGAUT FROM MRLCRT.FILLOG"), history,
         [&](const Row &r) {
             int &left = demoLog[r.text]; // a case may be lent to the same party twice
             if (left == 0)
                 return false;
             --left;
             return true;
         }},
    };
    for (const auto &source : sources)
        if (!ForEachRow(
                db, source.query,
                [&source](const Row &r) {
                    if (!source.isDemo(r))
                        source.tally.Add(r.key);
                },
                error))
            return false;

    found->clear();
    for (const Tally *tally : {&cases, &loans, &history})
        if (tally->count > 0)
            *found << tally->Line();
    return true;
}

} // namespace DemoGuard
