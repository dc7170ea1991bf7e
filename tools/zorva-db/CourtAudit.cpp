#include "CourtAudit.h"

#include "ConsoleText.h"
#include "LogScan.h"

#include "logwriter/LogChain.h"
#include "util/modDateTimeFunctions.h"
#include "util/modFormatCaseNumber.h"

#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace CourtAudit {
namespace {

using LogScan::Key;
using LogScan::RightTrimmed;

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

    // A row as read again, with the digest it carries (empty when none).
    struct Read
    {
        LogChain::Utf8Row row;
        QByteArray digest;
    };

    bool ReadLog(QString *error)
    {
        m_chained = LogChain::HasDigestColumn(m_db);
        LogScan::Counts counts;
        const bool read = LogScan::Run(m_db, m_chained, m_loans.size(), &counts,
                                       [this, error](const Key &key, const LogScan::Trail &trail) {
                                           return EndCase(key, trail, error);
                                       },
                                       error);
        m_report->logRows = counts.rows;
        m_unchained = counts.unchained;
        m_lastUnchained = counts.lastUnchained;
        return read;
    }

    // The case's rows in time order; the latest is the last.
    bool CaseRows(const Key &key, QList<Read> *rows, QString *error)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        // The type as stored may carry the blanks a CHAR(2) pads it with; the index is still used.
        q.prepare(QStringLiteral("SELECT %1 FROM MRLCRT.FILLOG WHERE LOGYER=? AND LOGTYP IN (?, ?, ?) AND LOGSEQ=?"
                                 " ORDER BY LOGTSP")
                      .arg(LogScan::Columns(m_db, m_chained)));
        const QString type = QString::fromUtf8(key.type);
        for (const QVariant &value : {QVariant(key.year), QVariant(type), QVariant(type + QLatin1Char(' ')),
                                      QVariant(type + QLatin1String("  ")), QVariant(key.sequence)})
            q.addBindValue(value);
        if (!q.exec())
            return Failed(q, error);
        while (q.next())
            *rows << Read{LogScan::RowOf(q), LogScan::DigestOf(q, m_chained)};
        return !q.lastError().isValid() || Failed(q, error);
    }

    // The case as the pass saw it: a case whose rows all verified, in time order, with its latest
    // row as its loan has it, has nothing to say; any other is read again and judged row by row.
    bool EndCase(const Key &key, const LogScan::Trail &trail, QString *error)
    {
        const auto loan = m_loans.find(key);
        const bool held = trail.out && loan != m_loans.end() && QString::fromUtf8(RightTrimmed(trail.party)) == loan->holder;
        if (trail.followed && !trail.broken && (trail.out ? held : loan == m_loans.end())) {
            if (loan != m_loans.end())
                loan->logged = true;
            return true;
        }
        QList<Read> rows;
        if (!CaseRows(key, &rows, error))
            return false;
        if (!rows.isEmpty())
            Judge(key, rows);
        return true;
    }

    // The case's chain verified in time order: the first row that does not verify is named, and
    // the rest of the chain hangs on it. Rows written before the chain existed, or by a program
    // that does not chain, are not verified, and the chain starts anew after them. Then the
    // latest row against the loan.
    void Judge(const Key &key, const QList<Read> &rows)
    {
        QByteArray previous;
        for (const Read &read : rows) {
            if (!read.digest.isEmpty() && LogChain::Digest(read.row, previous) != read.digest) {
                Add(BrokenChain, StampOf(read.row.stamp), Number(key),
                    QStringLiteral("the log row of %1 (%2) does not verify: it, or a row before it, was changed, "
                                   "removed or slipped in after it was written")
                        .arg(Shown(read.row.stamp), RowText(read.row)));
                break;
            }
            previous = read.digest;
        }
        const LogChain::Utf8Row &latest = rows.last().row;
        const auto loan = m_loans.find(key);
        if (loan == m_loans.end()) {
            if (latest.out)
                Add(ReturnNotLogged, StampOf(latest.stamp), Number(key),
                    QStringLiteral("the log's latest row (%1, %2) has the folder out, but it is not on loan")
                        .arg(Shown(latest.stamp), RowText(latest)));
            return;
        }
        loan->logged = latest.out && QString::fromUtf8(RightTrimmed(latest.party)) == loan->holder;
        if (!loan->logged)
            m_latest.insert(key, QStringLiteral("the log's latest row: %1, %2").arg(Shown(latest.stamp), RowText(latest)));
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
    QHash<Key, QString> m_latest; // the latest log row of a loan that it does not match
    bool m_chained = false;
    qint64 m_unchained = 0;
    QDateTime m_lastUnchained;
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
