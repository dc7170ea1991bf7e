#include "CourtWriter.h"

#include "logwriter/FolderLogWriter.h"
#include "logwriter/LogChain.h"
#include "util/modTypeOfCase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <numeric>
#include <tuple>

namespace CourtWriter {
namespace {

// Rows written so far, for whoever watches.
struct Steps
{
    qint64 done = 0;
    qint64 total = 0;
    const std::function<void(qint64, qint64)> &report;

    void Next()
    {
        ++done;
        if (report)
            report(done, total);
    }
};

// One prepared statement, run once per row.
class Statement
{
public:
    Statement(QSqlDatabase &db, const QString &text, Steps &steps) : m_query(db), m_text(text), m_steps(steps)
    {
        m_prepared = m_query.prepare(text);
    }

    bool Run(const QVariantList &values, QString *error)
    {
        if (m_prepared) {
            for (qsizetype i = 0; i < values.size(); ++i)
                m_query.bindValue(static_cast<int>(i), values.at(i));
            if (m_query.exec()) {
                m_steps.Next();
                return true;
            }
        }
        *error = QStringLiteral("\"%1\" failed: %2").arg(m_text, m_query.lastError().text());
        return false;
    }

private:
    QSqlQuery m_query;
    QString m_text;
    Steps &m_steps;
    bool m_prepared = false;
};

QVariantList Key(const CaseKey &k)
{
    return {k.year, k.type, k.sequence};
}

QString Stamp(const Court::LogEntry &e)
{
    return e.stamp.toUTC().toString(Qt::ISODateWithMs);
}

// Each log row's digest, chained per case in the order of the rows' stamps.
QStringList Digests(const QList<Court::LogEntry> &log)
{
    QList<qsizetype> order(log.size());
    std::iota(order.begin(), order.end(), 0);
    const auto caseOf = [&](qsizetype i) { return std::tuple(log[i].key.year, log[i].key.type, log[i].key.sequence); };
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return std::tuple(caseOf(a), log[a].stamp) < std::tuple(caseOf(b), log[b].stamp);
    });
    QStringList digests(log.size());
    QString previous;
    for (qsizetype n = 0; n < order.size(); ++n) {
        const Court::LogEntry &e = log[order[n]];
        if (n == 0 || caseOf(order[n - 1]) != caseOf(order[n]))
            previous.clear();
        if (e.seal == Court::LogEntry::Seal::Unchained) {
            previous.clear();
            continue;
        }
        const QString party = e.seal == Court::LogEntry::Seal::Altered ? e.sealedParty : e.party;
        previous = LogChain::Digest({Stamp(e), e.key.year, e.key.type, e.key.sequence, e.automatic, e.user, party, e.out},
                                    previous);
        digests[order[n]] = previous;
    }
    return digests;
}

bool Insert(QSqlDatabase &db, const Court::Rows &rows, Steps &steps, QString *error)
{
    const QString master = QStringLiteral(
        "INSERT INTO MRLCRT.%1 (MASYER, MASTYP, MASSEQ, MASLTP, MASLIT, MASBRN, MASNAM, MASATY)"
        " VALUES (?,?,?,?,?,?,?,?)");
    Statement criminal(db, master.arg(QStringLiteral("MASCRM")), steps);
    Statement civil(db, master.arg(QStringLiteral("MASCIV")), steps);
    for (const Court::Case &c : rows.cases) {
        Statement &into = modTypeOfCase::TypeOfCase(c.key.type) == 1 ? criminal : civil;
        for (const Court::Litigant &l : c.litigants)
            if (!into.Run(Key(c.key) << l.type << l.number << c.branch << l.name << l.attorney, error))
                return false;
    }

    Statement hearing(db, QStringLiteral("INSERT INTO MRLCRT.HRGDTA (HRGYER, HRGTYP, HRGSEQ, HRGJDG, HRGROM,"
                                         " HRGHDT, HRGHTM) VALUES (?,?,?,?,?,?,?)"),
                      steps);
    for (const Court::Hearing &h : rows.hearings) {
        const qint32 yyyymmdd = h.date.year() * 10000 + h.date.month() * 100 + h.date.day();
        if (!hearing.Run(Key(h.key) << h.judge << h.room << yyyymmdd << h.time, error))
            return false;
    }

    // The date goes in as the component writes it, the text "MMddyyyy" into a numeric column.
    Statement loan(db,
                   QStringLiteral("INSERT INTO MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR)"
                                  " VALUES (?,?,?,?,?,?)"),
                   steps);
    for (const Court::Loan &l : rows.loans)
        if (!loan.Run(Key(l.key) << l.party << l.date.toString(QStringLiteral("MMddyyyy")) << l.user, error))
            return false;

    Statement log(db, QLatin1String(FolderLogWriter::ChainedInsertStatement), steps);
    const QStringList digests = Digests(rows.log);
    for (qsizetype i = 0; i < rows.log.size(); ++i) {
        const Court::LogEntry &e = rows.log[i];
        const QVariant digest = digests[i].isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(digests[i]);
        if (!log.Run({Stamp(e), e.key.year, e.key.type, e.key.sequence, e.automatic ? 1 : 0, e.user, e.party,
                      e.out ? 1 : 0, digest},
                     error))
            return false;
    }
    return true;
}

} // namespace

bool Write(QSqlDatabase &db, const Court::Rows &rows, QString *error,
           const std::function<void(qint64, qint64)> &progress)
{
    Steps steps{0, rows.LitigantCount() + rows.hearings.size() + rows.loans.size() + rows.log.size(), progress};
    if (!db.transaction()) {
        *error = QStringLiteral("cannot start a transaction: %1").arg(db.lastError().text());
        return false;
    }
    const bool ok = Insert(db, rows, steps, error);
    if (ok && db.commit())
        return true;
    if (ok)
        *error = QStringLiteral("cannot commit: %1").arg(db.lastError().text());
    db.rollback();
    return false;
}

} // namespace CourtWriter
