#include "CourtAudit.h"

#include "BatchPipe.h"
#include "ConsoleText.h"

#include "logwriter/LogChain.h"
#include "records/Connection.h"
#include "util/modDateTimeFunctions.h"
#include "util/modFormatCaseNumber.h"

#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <functional>
#include <utility>

namespace CourtAudit {
namespace {

template <typename Text>
Text RightTrimmed(Text text)
{
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

struct Key
{
    qint64 year = 0;
    QByteArray type; // UTF-8, without trailing blanks, as CHAR(2) compares
    qint64 sequence = 0;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &k, size_t seed = 0) { return ::qHashMulti(seed, k.year, k.type, k.sequence); }

QString Number(const Key &k)
{
    return ConsoleText::Visible(modFormatCaseNumber::FormatCaseNumber(static_cast<qint16>(k.year), QString::fromUtf8(k.type),
                                                                      static_cast<qint32>(k.sequence), QString(), 0,
                                                                      true));
}

struct Loan
{
    QString holder;
    QVariant stored; // FILUDT as read
    QString user;
    bool known = false; // the case is in a master table
    bool logged = false; // the case's latest log row is an "out" to this holder
};

QDateTime StampOf(const QByteArray &stored)
{
    return QDateTime::fromString(QString::fromUtf8(stored), Qt::ISODateWithMs).toUTC();
}

QString Shown(const QByteArray &stored)
{
    const QDateTime stamp = StampOf(stored);
    return stamp.isValid() ? ConsoleText::Zoned(stamp) : ConsoleText::Visible(QString::fromUtf8(stored));
}

QString RowText(const LogChain::Utf8Row &row)
{
    return QStringLiteral("%1 %2 by %3")
        .arg(row.out ? QStringLiteral("out to") : QStringLiteral("in from"),
             ConsoleText::Visible(QString::fromUtf8(row.party)), ConsoleText::Visible(QString::fromUtf8(row.user)));
}

class Audit
{
public:
    Audit(QSqlDatabase &db, const QDate &since, const QDate &today, Report *report)
        : m_db(db), m_since(since), m_today(today), m_report(report)
    {}

    bool Run(QString *error)
    {
        return ReadLoans(error) && ReadLog(error) && (Finish(), true);
    }

private:
    bool Failed(const QSqlQuery &q, QString *error)
    {
        *error = QStringLiteral("reading the court failed: %1").arg(q.lastError().text());
        return false;
    }

    // A log row's finding is dated by its time, a loan's by its date.
    void Add(const char *kind, const QDateTime &when, const QString &caseNumber, const QString &detail,
             bool dateOnly = false)
    {
        if (m_since.isValid() && when.isValid() && when.date() < m_since)
            return;
        const QString shown = !when.isValid() ? QStringLiteral("-")
                              : dateOnly      ? when.date().toString(Qt::ISODate)
                                              : ConsoleText::Zoned(when);
        m_report->findings << Finding{QLatin1String(kind), when, shown, caseNumber, detail};
    }

    void Add(const Finding &finding)
    {
        Add(finding.kind.toLatin1().constData(), finding.when, finding.caseNumber, finding.detail);
    }

    bool ReadLoans(QString *error)
    {
        const QString known = QStringLiteral("EXISTS (SELECT 1 FROM MRLCRT.%1 WHERE MASYER=FILYER AND MASTYP=FILTYP"
                                             " AND MASSEQ=FILSEQ)");
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR, CASE WHEN %1 OR %2 THEN 1"
                                   " ELSE 0 END FROM MRLCRT.FILCHK")
                        .arg(known.arg(QStringLiteral("MASCRM")), known.arg(QStringLiteral("MASCIV")))))
            return Failed(q, error);
        while (q.next()) {
            const Key key{q.value(0).toLongLong(), RightTrimmed(q.value(1).toString().toUtf8()), q.value(2).toLongLong()};
            m_loans.insert(key, Loan{RightTrimmed(q.value(3).toString()), q.value(4), q.value(5).toString(),
                                     q.value(6).toInt() != 0, false});
        }
        if (q.lastError().isValid())
            return Failed(q, error);
        m_report->loans = m_loans.size();
        return true;
    }

    // A row as read, with the digest it carries (empty when none).
    struct Read
    {
        LogChain::Utf8Row row;
        QByteArray digest;
    };

    // What the scan keeps of a case: enough to go on verifying its chain and to judge its loan.
    struct CaseLog
    {
        QByteArray lastStamp, previous; // of the latest row read; previous is empty after an unchained row
        QByteArray party; // of the latest row
        bool out = false;
        bool broken = false;
        bool unordered = false; // rows came out of time order: verified again in order at the end
    };

    Read ReadOf(const QSqlQuery &q) const
    {
        return {{q.value(0).toByteArray(), q.value(1).toLongLong(), q.value(2).toByteArray(), q.value(3).toLongLong(),
                 q.value(4).toInt() != 0, q.value(5).toByteArray(), q.value(6).toByteArray(), q.value(7).toInt() != 0},
                m_chained ? q.value(8).toByteArray() : QByteArray()};
    }

    // The text columns as UTF-8. SQLite hands them over as stored when asked for bytes, which
    // spares a conversion to UTF-16 and back for each of ten million rows.
    QString Columns() const
    {
        const bool bytes = Connection::DialectOf(m_db) == Connection::Dialect::SQLite;
        QStringList columns;
        for (const char *column : {"LOGTSP", "LOGYER", "LOGTYP", "LOGSEQ", "LOGAUT", "LOGUSR", "LOGOTO", "LOGOUT", "LOGDIG"}) {
            const bool text = QByteArrayView(column) != "LOGYER" && QByteArrayView(column) != "LOGSEQ" &&
                              QByteArrayView(column) != "LOGAUT" && QByteArrayView(column) != "LOGOUT";
            if (QByteArrayView(column) == LogChain::Column && !m_chained)
                continue;
            columns << (bytes && text ? QStringLiteral("CAST(%1 AS BLOB)") : QStringLiteral("%1")).arg(QLatin1String(column));
        }
        return columns.join(QStringLiteral(", "));
    }

    // The log is read as it lies, without sorting ten million rows: a case's rows come in the
    // order they were written, which is their time order, unless another program slipped one in
    // or the engine hands them over otherwise; such a case is read again in time order.
    bool ReadLog(QString *error)
    {
        m_chained = LogChain::HasDigestColumn(m_db);
        {
            // This thread reads; the pipe's worker hashes and keeps each case's state.
            BatchPipe<Read> pipe([this](std::vector<Read> &batch) {
                for (const Read &read : batch)
                    Take(read);
            });
            std::vector<Read> batch;
            const bool read = ScanLog([&](const QSqlQuery &q) {
                ++m_report->logRows;
                batch.push_back(ReadOf(q));
                if (batch.size() == BatchRows)
                    pipe.Put(std::exchange(batch, {}));
            }, error);
            pipe.Put(std::move(batch));
            if (!read)
                return false;
        }
        for (auto it = m_cases.begin(); it != m_cases.end(); ++it)
            if (!EndCase(it.key(), it.value(), error))
                return false;
        return true;
    }

    static constexpr size_t BatchRows = 4096;

    // Every log row, in the order the engine keeps them. A server hands a plain query's rows
    // over one answer per row: there a cursor is read a page at a time instead, in one read-only
    // transaction.
    bool ScanLog(const std::function<void(const QSqlQuery &)> &take, QString *error)
    {
        const QString select = QStringLiteral("SELECT %1 FROM MRLCRT.FILLOG").arg(Columns());
        QSqlQuery q(m_db);
        m_cases.reserve(m_loans.size()); // nearly every case in the log is on loan, or was
        if (Connection::DialectOf(m_db) == Connection::Dialect::SQLite) // read through the system's page cache, not copied
            q.exec(QStringLiteral("PRAGMA MRLCRT.mmap_size=%1").arg(qint64(1) << 40));
        if (Connection::DialectOf(m_db) != Connection::Dialect::PostgreSQL) {
            q.setForwardOnly(true);
            if (!q.exec(select))
                return Failed(q, error);
            while (q.next())
                take(q);
            return !q.lastError().isValid() || Failed(q, error);
        }
        if (!q.exec(QStringLiteral("BEGIN READ ONLY")) || !q.exec(QStringLiteral("DECLARE zorva_audit NO SCROLL CURSOR FOR ") + select))
            return Failed(q, error);
        bool ok = true;
        for (bool more = true; more && ok;) {
            ok = q.exec(QStringLiteral("FETCH FORWARD 10000 FROM zorva_audit"));
            more = false;
            while (ok && q.next()) {
                take(q);
                more = true;
            }
        }
        if (!ok)
            Failed(q, error);
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        return ok;
    }

    void Take(const Read &read)
    {
        const Key key{read.row.year, RightTrimmed(read.row.type), read.row.sequence};
        CaseLog &log = m_cases[key];
        if (read.digest.isEmpty())
            CountUnchained(read.row.stamp);
        if (log.unordered)
            return;
        // Only the component's own stamps are known to sort as the engine sorts them.
        if (!(read.row.stamp > log.lastStamp) || !OwnStamp(read.row.stamp)) {
            log.unordered = true;
            return;
        }
        Verify(key, read, &log);
    }

    static bool OwnStamp(const QByteArray &stamp)
    {
        return stamp.size() == 24 && stamp.at(10) == 'T' && stamp.at(23) == 'Z';
    }

    // An old court's log may be millions of unchained rows: the component's own stamps are
    // compared as they are, others read as times.
    void CountUnchained(const QByteArray &stored)
    {
        ++m_unchained;
        if (OwnStamp(stored)) {
            m_lastUnchainedStamp = std::max(m_lastUnchainedStamp, stored);
            return;
        }
        const QDateTime stamp = StampOf(stored);
        if (stamp.isValid() && (!m_lastUnchained.isValid() || stamp > m_lastUnchained))
            m_lastUnchained = stamp;
    }

    // The next row of the case's chain. Rows written before the chain existed, or by a program
    // that does not chain, are not verified, and the chain starts anew after them.
    void Verify(const Key &key, const Read &read, CaseLog *log)
    {
        log->lastStamp = read.row.stamp;
        log->out = read.row.out;
        log->party = read.row.party;
        if (!read.digest.isEmpty() && !log->broken && LogChain::Digest(read.row, log->previous) != read.digest) {
            // The first row that does not verify; the rest of the case's chain hangs on it.
            log->broken = true;
            m_broken.insert(key, Finding{QLatin1String(BrokenChain), StampOf(read.row.stamp), QString(), Number(key),
                                         QStringLiteral("the log row of %1 (%2) does not verify: it, or a row before "
                                                        "it, was changed, removed or slipped in after it was written")
                                             .arg(Shown(read.row.stamp), RowText(read.row))});
        }
        log->previous = read.digest;
    }

    // The case's rows in time order; the latest is the last.
    bool CaseRows(const Key &key, QList<Read> *rows, QString *error)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        // The type as stored may carry the blanks a CHAR(2) pads it with; the index is still used.
        q.prepare(QStringLiteral("SELECT %1 FROM MRLCRT.FILLOG WHERE LOGYER=? AND LOGTYP IN (?, ?, ?) AND LOGSEQ=?"
                                 " ORDER BY LOGTSP")
                      .arg(Columns()));
        const QString type = QString::fromUtf8(key.type);
        for (const QVariant &value : {QVariant(key.year), QVariant(type), QVariant(type + QLatin1Char(' ')),
                                      QVariant(type + QLatin1String("  ")), QVariant(key.sequence)})
            q.addBindValue(value);
        if (!q.exec())
            return Failed(q, error);
        while (q.next())
            *rows << ReadOf(q);
        return !q.lastError().isValid() || Failed(q, error);
    }

    // The case's latest log row against its loan, and its chain's first broken row.
    bool EndCase(const Key &key, CaseLog &log, QString *error)
    {
        const auto loan = m_loans.find(key);
        const auto holdsLoan = [&] { return log.out && loan != m_loans.end() && QString::fromUtf8(RightTrimmed(log.party)) == loan->holder; };
        const bool findsNothing = log.out ? holdsLoan() : loan == m_loans.end();
        QList<Read> rows;
        if (log.unordered || !findsNothing) {
            // Read again, for their order or for the words of the finding.
            if (!CaseRows(key, &rows, error))
                return false;
            if (rows.isEmpty()) // written a moment ago, after the scan, in a table as it was then
                return true;
        }
        if (log.unordered) {
            log = CaseLog{};
            m_broken.remove(key);
            for (const Read &read : std::as_const(rows))
                Verify(key, read, &log);
        }
        if (log.broken)
            Add(m_broken.value(key));
        if (loan == m_loans.end()) {
            if (log.out)
                Add(ReturnNotLogged, StampOf(rows.last().row.stamp), Number(key),
                    QStringLiteral("the log's latest row (%1, %2) has the folder out, but it is not on loan")
                        .arg(Shown(rows.last().row.stamp), RowText(rows.last().row)));
            return true;
        }
        loan->logged = holdsLoan();
        if (!loan->logged)
            m_latest.insert(key, QStringLiteral("the log's latest row: %1, %2")
                                     .arg(Shown(rows.last().row.stamp), RowText(rows.last().row)));
        return true;
    }

    void Finish()
    {
        for (auto it = m_loans.cbegin(); it != m_loans.cend(); ++it) {
            const Loan &loan = it.value();
            const QDate date = modDateTimeFunctions::LoanDate(loan.stored);
            if (date.isValid() && date <= m_today && loan.known && loan.logged)
                continue; // nothing to say, as of nearly every loan
            const QString shownDate = date.toString(QStringLiteral("MM/dd/yyyy"));
            const QDateTime when = date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime();
            const QString number = Number(it.key());
            const QString held = QStringLiteral("on loan to %1").arg(ConsoleText::Visible(loan.holder));
            if (!date.isValid())
                Add(BadLoanDate, when, number,
                    QStringLiteral("%1: the loan date %2 is no date").arg(held, ConsoleText::Visible(loan.stored.toString())),
                    true);
            else if (date > m_today)
                Add(BadLoanDate, when, number, QStringLiteral("%1: the loan date %2 lies in the future").arg(held, shownDate), true);
            if (!loan.known)
                Add(LoanOfNoCase, when, number, QStringLiteral("%1: the case is in neither MASCRM nor MASCIV").arg(held), true);
            if (!loan.logged)
                Add(LoanNotLogged, when, number,
                    QStringLiteral("%1%2, recorded by %3; %4")
                        .arg(held, date.isValid() ? QStringLiteral(" since ") + shownDate : QString(),
                             ConsoleText::Visible(loan.user),
                             m_latest.value(it.key(), QStringLiteral("the log has no row for the case"))),
                    true);
        }
        const QDateTime lastOwn = StampOf(m_lastUnchainedStamp);
        if (lastOwn.isValid() && (!m_lastUnchained.isValid() || lastOwn > m_lastUnchained))
            m_lastUnchained = lastOwn;
        if (!m_chained)
            m_report->findings << Finding{QLatin1String(Unchained), QDateTime(), QStringLiteral("-"), QString(),
                                          QStringLiteral("the log table has no digest column: the log is unchained, "
                                                         "its rows cannot be verified")};
        else if (m_unchained > 0)
            Add(Unchained, m_lastUnchained, QString(),
                QStringLiteral("%1 log %2 no digest (the latest of %3): written before the chain existed, or by a "
                               "program that does not chain; not verified")
                    .arg(m_unchained)
                    .arg(m_unchained == 1 ? QStringLiteral("row carries") : QStringLiteral("rows carry"),
                         m_lastUnchained.isValid() ? ConsoleText::Zoned(m_lastUnchained) : QStringLiteral("no date")));
        std::stable_sort(m_report->findings.begin(), m_report->findings.end(), [](const Finding &a, const Finding &b) {
            if (a.when.isValid() != b.when.isValid())
                return !a.when.isValid();
            if (a.when != b.when)
                return a.when < b.when;
            return a.caseNumber < b.caseNumber;
        });
    }

    QSqlDatabase &m_db;
    QDate m_since, m_today;
    Report *m_report;
    QHash<Key, Loan> m_loans;
    QHash<Key, CaseLog> m_cases;
    QHash<Key, Finding> m_broken; // a case's first row that does not verify
    QHash<Key, QString> m_latest; // the latest log row of a loan that it does not match
    bool m_chained = false;
    qint64 m_unchained = 0;
    QDateTime m_lastUnchained;
    QByteArray m_lastUnchainedStamp; // the latest of the component's own stamps among them
};

const char *const Kinds[] = {LoanNotLogged, ReturnNotLogged, LoanOfNoCase, BadLoanDate, BrokenChain, Unchained};

QMap<int, qsizetype> Counts(const Report &report)
{
    QMap<int, qsizetype> counts;
    for (const Finding &f : report.findings)
        for (int k = 0; k < int(std::size(Kinds)); ++k)
            if (f.kind == QLatin1String(Kinds[k]))
                ++counts[k];
    return counts;
}

} // namespace

bool Run(QSqlDatabase &db, const QDate &since, const QDate &today, Report *report, QString *error)
{
    *report = Report{};
    return Audit(db, since, today, report).Run(error);
}

QStringList Lines(const Report &report)
{
    QStringList lines{QStringLiteral("audit of %1 loans and %2 log rows: %3")
                          .arg(report.loans)
                          .arg(report.logRows)
                          .arg(report.findings.isEmpty() ? QStringLiteral("nothing found")
                                                         : QStringLiteral("%1 found").arg(report.findings.size()))};
    const QMap<int, qsizetype> counts = Counts(report);
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        lines << QStringLiteral("  %1  %2").arg(it.value(), 6).arg(QLatin1String(Kinds[it.key()]));
    if (!report.findings.isEmpty())
        lines << QStringLiteral("oldest first:");
    for (const Finding &f : report.findings)
        lines << QStringLiteral("  %1  %2  %3: %4")
                     .arg(f.shownWhen, f.caseNumber.isEmpty() ? QStringLiteral("-") : f.caseNumber, f.kind, f.detail);
    return lines;
}

QList<QStringList> Rows(const Report &report)
{
    QList<QStringList> rows;
    const QMap<int, qsizetype> counts = Counts(report);
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        rows << QStringList{QLatin1String(Kinds[it.key()]), QString(), QString(), QString::number(it.value())};
    for (const Finding &f : report.findings)
        rows << QStringList{f.kind, f.caseNumber, f.when.isValid() ? f.shownWhen : QString(), f.detail};
    return rows;
}

} // namespace CourtAudit
