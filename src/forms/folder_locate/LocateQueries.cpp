#include "LocateQueries.h"

#include "records/Connection.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "records/Schema.h"
#include "util/modDateTimeFunctions.h"
#include "util/modFormatCaseNumber.h"
#include "util/modGetCaseStyle.h"
#include "util/modTypeOfCase.h"

#include <QDateTime>
#include <QHash>
#include <algorithm>

namespace {

const QString All = QStringLiteral("*ALL");
constexpr int FirstPullPage = 50;

QString Date() { return QLatin1String(Schema::LoanDateKey); }

QString Number(const CaseKey &key)
{
    return modFormatCaseNumber::FormatCaseNumber(key.year, key.type, key.sequence, QString(), 0, true);
}

QString RightTrimmed(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

// The rows from offset on, at most n, as the court's engine spells it.
QString RowPage(Connection::Dialect dialect, int n, qint64 offset)
{
    if (dialect == Connection::Dialect::DB2)
        return QStringLiteral(" Offset %1 Rows Fetch First %2 Rows Only").arg(offset).arg(n);
    return QStringLiteral(" Limit %1 Offset %2").arg(n).arg(offset);
}

// A hearing's decimal key column as the loan table's type: compared as a decimal, the server
// would read every loan rather than its key index. A value out of the type's range matches nothing
// (and is not cast, which would fail the statement).
QString KeyPart(const char *column, const char *type, qint64 max)
{
    return QStringLiteral("Case When %1 Between %2 And %3 Then Cast(%1 As %4) End")
        .arg(QLatin1String(column))
        .arg(-max - 1)
        .arg(max)
        .arg(QLatin1String(type));
}

bool OldestFirst(const LocateQueries::Loan &a, const LocateQueries::Loan &b)
{
    // Unreadable dates last: nobody can say how long those have been out.
    if (a.since.isValid() != b.since.isValid())
        return a.since.isValid();
    if (a.since != b.since)
        return a.since < b.since;
    return std::tie(a.key.year, a.key.type, a.key.sequence) < std::tie(b.key.year, b.key.type, b.key.sequence);
}

} // namespace

QString LocateQueries::RowLimit(Connection::Dialect dialect, int n)
{
    // Limit is not standard SQL: DB2 and the other ODBC sources get the standard's own spelling.
    const bool limit = dialect == Connection::Dialect::SQLite || dialect == Connection::Dialect::PostgreSQL;
    return (limit ? QStringLiteral(" Limit %1") : QStringLiteral(" Fetch First %1 Rows Only")).arg(n);
}

LocateQueries::LocateQueries(QObject *parent) : QObject(parent)
{
    // The locator only reads: its own read-only connection, never the editor's.
    m_data = new DataObject(this, QLatin1String(Connection::ReadRole));
    m_master = new DataObject(this, QLatin1String(Connection::ReadRole));
    connect(m_data, &DataObject::Error, this, [this] { m_failed = true; });
    // A master's failure is reported as the loan table's, the one object the window listens to.
    connect(m_master, &DataObject::Error, this, [this](qint32 number, const QString &description) {
        if (!m_failed)
            m_data->RaiseError(number, description);
    });
}

LocateQueries::~LocateQueries() = default;

DataObject *LocateQueries::adoFILCHK() const { return m_data; }

bool LocateQueries::Dialect(Connection::Dialect *dialect)
{
    // A court that cannot be opened is reported at once: asking again for the statement would
    // wait out a silent server's connect time a second time.
    QString error;
    const QSqlDatabase db = Connection::Database(QLatin1String(Connection::ReadRole), &error);
    if (!db.isValid()) {
        m_failed = true;
        m_data->RaiseError(-1, error);
        return false;
    }
    *dialect = Connection::DialectOf(db);
    return true;
}

bool LocateQueries::Run(const QString &statement, const QVariantList &params)
{
    m_failed = false;
    m_data->Execute(statement, params);
    return !m_failed;
}

LocateQueries::Loan LocateQueries::LoanOfRow(const QVariant &year, const QVariant &type, const QVariant &sequence) const
{
    Loan loan;
    loan.key.year = static_cast<qint16>(year.toInt());
    // A code another program stored in lower case is the court's code all the same.
    loan.key.type = RightTrimmed(type.toString()).toUpper();
    loan.key.sequence = sequence.toInt();
    loan.holder = m_data->Field(QStringLiteral("FILOTO")).toString();
    loan.user = m_data->Field(QStringLiteral("FILUSR")).toString();
    loan.since = modDateTimeFunctions::LoanDate(m_data->Field(QStringLiteral("FILUDT")));
    if (loan.since.isValid())
        loan.daysOut = loan.since.daysTo(m_today);
    return loan;
}

bool LocateQueries::WhereIs(const CaseKey &key, Location *out, bool all)
{
    *out = Location{};
    out->key = key;
    const QVariantList params{key.year, key.type, key.sequence};
    if (!Run(QLatin1String(FolderStatements::SelectLoanAnyCase), FolderStatements::AnyCaseKey(key.year, key.type, key.sequence)))
        return false;
    if (!m_data->Eof())
        out->loan = LoanOfRow(key.year, key.type, key.sequence);

    if (!Run(QStringLiteral("Select MASYER From MRLCRT.%1 Where MASYER=? And MASTYP=? And MASSEQ=?")
                 .arg(modTypeOfCase::MasterTableName(key.type)),
             params))
        return false;
    out->known = !m_data->Eof();

    QString statement = QStringLiteral("Select LOGTSP, LOGUSR, LOGOTO, LOGOUT From MRLCRT.FILLOG"
                                       " Where LOGYER=? And LOGTYP=? And LOGSEQ=? Order By LOGTSP Desc");
    Connection::Dialect dialect = Connection::Dialect::SQLite;
    if (!all && !Dialect(&dialect))
        return false;
    // The data object reads every row it is given: the statement itself stops at the cap.
    if (!all)
        statement += RowLimit(dialect, RecentHistory);
    if (!Run(statement, params))
        return false;
    for (; !m_data->Eof(); m_data->MoveNext()) {
        const QString stored = m_data->Field(QStringLiteral("LOGTSP")).toString();
        const QDateTime stamp = QDateTime::fromString(stored, Qt::ISODateWithMs);
        out->history << Custody{stamp.isValid() ? stamp.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : stored,
                                m_data->Field(QStringLiteral("LOGOUT")).toInt() != 0,
                                m_data->Field(QStringLiteral("LOGOTO")).toString(),
                                m_data->Field(QStringLiteral("LOGUSR")).toString()};
    }
    // Only a full page can have entries before it; the engine counts them on the index.
    if (all || out->history.size() < RecentHistory)
        return true;
    if (!Run(QStringLiteral(
                 "Select Count(*) As ENTRIES From MRLCRT.FILLOG Where LOGYER=? And LOGTYP=? And LOGSEQ=?"),
             params))
        return false;
    out->earlier =
        std::max<qint64>(0, m_data->Field(QStringLiteral("ENTRIES")).toLongLong() - out->history.size());
    return true;
}

bool LocateQueries::HeldBy(const QString &holder, QList<Loan> *out)
{
    out->clear();
    const QString wanted = RightTrimmed(holder.trimmed().toUpper());
    if (wanted.isEmpty())
        return true;
    Connection::Dialect dialect;
    if (!Dialect(&dialect))
        return false;
    // Letter case and trailing blanks never count: "Smith " is SMITH's. The range on SQLite also
    // holds names that go on after a control character; the comparison below leaves them out.
    const bool range = dialect == Connection::Dialect::SQLite;
    if (!Run(QLatin1String(range ? FolderStatements::SelectHolderRange : FolderStatements::SelectHolder),
             range ? QVariantList{wanted, wanted + QLatin1Char('!')} : QVariantList{wanted}))
        return false;
    for (; !m_data->Eof(); m_data->MoveNext()) {
        if (RightTrimmed(m_data->Field(QStringLiteral("FILOTO")).toString()).toUpper() != wanted)
            continue;
        *out << LoanOfRow(m_data->Field(QStringLiteral("FILYER")), m_data->Field(QStringLiteral("FILTYP")),
                          m_data->Field(QStringLiteral("FILSEQ")));
    }
    std::sort(out->begin(), out->end(), OldestFirst);
    return true;
}

bool LocateQueries::BranchMatches(const CaseKey &key, const QString &branch)
{
    m_master->Execute(QStringLiteral("Select MASBRN From MRLCRT.%1 Where MASYER=? And MASTYP=? And MASSEQ=?")
                          .arg(modTypeOfCase::MasterTableName(key.type)),
                      QVariantList{key.year, key.type, key.sequence});
    // As the docket: the branch as typed, not trimmed; a case without a master row is left out.
    return !m_master->Eof() && m_master->Field(QStringLiteral("MASBRN")).toString() == branch;
}

bool LocateQueries::PullList(const DocketSelection &s, QList<Pull> *out)
{
    out->clear();
    const bool ok = PullPages(s, [out](QList<Pull> &page) { *out += std::move(page); });
    if (!ok)
        out->clear();
    return ok;
}

bool LocateQueries::Title(Pull &pull)
{
    if (!pull.key)
        return true;
    QString plfNam, plfLtp, versus, defNam, defLtp, plfAty, defAty;
    qint16 plfLit = 0, defLit = 0;
    m_failed = false;
    pull.title = modGetCaseStyle::GetCaseStyle(true, pull.key->year, pull.key->type, pull.key->sequence, QString(), 0,
                                               plfNam, plfLtp, plfLit, versus, defNam, defLtp, defLit, plfAty, defAty,
                                               [this](qint32 number, const QString &description) {
                                                   if (!m_failed)
                                                       m_data->RaiseError(number, description);
                                               },
                                               QLatin1String(Connection::ReadRole))
                     .trimmed();
    return !m_failed;
}

bool LocateQueries::PullPage(const DocketSelection &s, qint64 offset, int size, QList<Pull> *out, qsizetype *read)
{
    *read = 0;
    QString hearings = QStringLiteral("Select Distinct HRGYER, HRGTYP, HRGSEQ, HRGHTM, HRGROM, HRGJDG From MRLCRT.HRGDTA"
                                      " Where HRGHDT=?");
    QVariantList params{DateKey(s.hearingDate)};
    if (s.judge != All) {
        hearings += QStringLiteral(" And HRGJDG=?");
        params << s.judge;
    }
    if (s.room > All) {
        hearings += QStringLiteral(" And HRGROM=?");
        params << s.room;
    }
    if (s.beginTime > 0) {
        hearings += QStringLiteral(" And HRGHTM Between ? And ?");
        params << qint32(modDateTimeFunctions::NormalizeHearingTime(static_cast<qint16>(s.beginTime)))
               << qint32(modDateTimeFunctions::NormalizeHearingTime(static_cast<qint16>(s.endTime)));
    }
    Connection::Dialect dialect;
    if (!Dialect(&dialect))
        return false;
    // Every column orders the rows, so that the pages follow one another exactly. The page is cut
    // before the loans are joined: a day's first screen looks up its own folders only.
    const QString order = QStringLiteral(" Order By HRGHTM, HRGROM, HRGYER, HRGTYP, HRGSEQ, HRGJDG");
    const QString statement =
        QStringLiteral("Select H.*, FILOTO, FILUDT, FILUSR From (%1) H Left Join MRLCRT.FILCHK On FILYER=%2"
                       " And FILTYP=HRGTYP And FILSEQ=%3")
            .arg(hearings + order + RowPage(dialect, size, offset), KeyPart("HRGYER", "SmallInt", 32767),
                 KeyPart("HRGSEQ", "Integer", 2147483647)) +
        order;
    if (!Run(statement, params))
        return false;

    const bool byBranch = !s.branch.trimmed().isEmpty();
    for (; !m_data->Eof(); m_data->MoveNext(), ++*read) {
        const QVariant year = m_data->Field(QStringLiteral("HRGYER")), type = m_data->Field(QStringLiteral("HRGTYP")),
                       sequence = m_data->Field(QStringLiteral("HRGSEQ"));
        Pull pull;
        QString why;
        pull.key = CaseKey::FromRow(year, type, sequence, &why);
        pull.time = m_data->Field(QStringLiteral("HRGHTM")).toInt();
        pull.room = m_data->Field(QStringLiteral("HRGROM")).toString();
        pull.judge = m_data->Field(QStringLiteral("HRGJDG")).toString();
        if (!pull.key) {
            const auto shown = [](const QVariant &v) { return v.isNull() ? QStringLiteral("(none)") : v.toString(); };
            pull.caseNumber = QStringLiteral("%1 %2 %3").arg(shown(year), shown(type), shown(sequence));
            pull.title = QStringLiteral("(no usable case number: %1)").arg(why);
            *out << pull;
            continue;
        }
        if (byBranch && !BranchMatches(*pull.key, s.branch)) {
            if (m_failed)
                return false;
            continue;
        }
        pull.caseNumber = Number(*pull.key);
        if (!m_data->Field(QStringLiteral("FILOTO")).isNull()) {
            pull.loan = LoanOfRow(year, type, sequence);
            pull.withJudge = RightTrimmed(pull.loan->holder).compare(RightTrimmed(pull.judge), Qt::CaseInsensitive) == 0;
        }
        *out << pull;
    }
    return true;
}

bool LocateQueries::PullPages(const DocketSelection &s, const std::function<void(QList<Pull> &)> &take, int pageSize,
                              bool titled)
{
    // A page of hearings at a time, read, titled and handed over: a day of 100,000 hearings is
    // never held whole. The first page is short, so that a caller that shows it as it comes
    // shows it at once.
    for (qint64 offset = 0, size = std::min(pageSize, FirstPullPage);; offset += size, size = pageSize) {
        QList<Pull> page;
        qsizetype read = 0;
        if (!PullPage(s, offset, static_cast<int>(size), &page, &read))
            return false;
        for (Pull &pull : page)
            if (titled && !Title(pull))
                return false;
        take(page);
        if (read < size)
            return true;
    }
}

bool LocateQueries::Overdue(int days, QList<HolderGroup> *out, int limit, bool *more)
{
    out->clear();
    if (more)
        *more = false;
    QString statement = QStringLiteral("Select FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR From MRLCRT.FILCHK Where %1 < ? And %1 > 0"
                                       " Order By %1, FILYER, FILTYP, FILSEQ")
                            .arg(Date());
    // One row past the limit tells whether there are more; the count is ours, never typed.
    Connection::Dialect dialect = Connection::Dialect::SQLite;
    if (limit > 0 && !Dialect(&dialect))
        return false;
    if (limit > 0)
        statement += RowLimit(dialect, limit + 1);
    if (!Run(statement, {DateKey(m_today.addDays(-days))}))
        return false;
    QHash<QString, qsizetype> group;
    for (int read = 0; !m_data->Eof(); m_data->MoveNext()) {
        if (limit > 0 && read++ == limit) {
            if (more)
                *more = true;
            break;
        }
        Loan loan = LoanOfRow(m_data->Field(QStringLiteral("FILYER")), m_data->Field(QStringLiteral("FILTYP")),
                              m_data->Field(QStringLiteral("FILSEQ")));
        // A stored number that passes the filter but is no date (month 13) is not listed as overdue.
        if (!loan.since.isValid())
            continue;
        const QString holder = RightTrimmed(loan.holder);
        auto at = group.find(holder);
        if (at == group.end()) {
            at = group.insert(holder, out->size());
            *out << HolderGroup{holder, {}};
        }
        (*out)[*at].loans << loan;
    }
    return true;
}

bool LocateQueries::AgeSummary(Ages *out)
{
    out->fill(0);
    const QString d = Date();
    // Four counts over ranges of the loan date index, rather than one pass over every loan.
    const QString count = QStringLiteral("(Select Count(*) From MRLCRT.FILCHK Where %1 %2)").arg(d);
    const QString statement = QStringLiteral("Select %1 As AGE0, %2 As AGE1, %3 As AGE2, %4 As AGE3")
                                  .arg(count.arg(QStringLiteral(">= ? And %1 <= ?").arg(d)),
                                       count.arg(QStringLiteral("< ? And %1 >= ?").arg(d)),
                                       count.arg(QStringLiteral("< ? And %1 >= ?").arg(d)),
                                       count.arg(QStringLiteral("< ? And %1 > 0").arg(d)));
    const qint32 week = DateKey(m_today.addDays(-7)), month = DateKey(m_today.addDays(-30)),
                 quarter = DateKey(m_today.addDays(-90));
    // A "date" past today (a month 13 of this year, a clock gone wrong) is in no band.
    if (!Run(statement, {week, DateKey(m_today), week, month, month, quarter, quarter}))
        return false;
    for (int i = 0; i < 4; ++i)
        (*out)[static_cast<size_t>(i)] = m_data->Field(QStringLiteral("AGE%1").arg(i)).toLongLong();
    return true;
}
