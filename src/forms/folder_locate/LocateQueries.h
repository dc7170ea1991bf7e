#pragma once

#include "forms/folder_docket/DocketSelection.h"
#include "records/CaseKey.h"
#include "records/Connection.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

class DataObject;

// The locator's four questions, asked of the court database without a window: where a case's
// folder is, what one holder has, which folders a docket needs pulled, and which are out too long.
// It only reads. Every statement is parameterised; a failure is raised by adoFILCHK's Error event
// inside the call, and the call then returns false.
class LocateQueries : public QObject
{
    Q_OBJECT
public:
    // A folder on loan, as FILCHK holds it.
    struct Loan
    {
        CaseKey key;
        QString holder;
        QDate since;      // invalid when the stored date is not one
        QString user;
        qint64 daysOut = -1; // from `today`; -1 without a date
    };
    // One line of the folder log.
    struct Custody
    {
        QString when; // local time, "yyyy-MM-dd HH:mm:ss"
        bool out = false;
        QString party;
        QString user;
    };
    struct Location
    {
        CaseKey key;
        std::optional<Loan> loan; // none: in the file room
        bool known = false;       // the case has a master row
        QList<Custody> history;   // newest first
        qint64 earlier = 0;       // log entries older than the history holds
    };
    struct Pull
    {
        QString caseNumber; // formatted; the stored values when the row holds no case key
        std::optional<CaseKey> key;
        qint32 time = 0;
        QString room, judge, title;
        std::optional<Loan> loan;
        bool withJudge = false; // out to the hearing's own judge already
    };
    struct HolderGroup
    {
        QString holder;
        QList<Loan> loans; // oldest first
    };
    // Folders out 0-7, 8-30, 31-90 and over 90 days.
    using Ages = std::array<qint64, 4>;
    // A case's history is read to its most recent entries unless all are asked for: a folder
    // handled daily for years has thousands, and the first look must stay quick.
    static constexpr int RecentHistory = 50;

    explicit LocateQueries(QObject *parent = nullptr);
    ~LocateQueries() override;

    DataObject *adoFILCHK() const;
    void SetToday(const QDate &today) { m_today = today; }
    QDate Today() const { return m_today; }

    // The history holds the RecentHistory latest entries, or every one with `all`.
    bool WhereIs(const CaseKey &key, Location *out, bool all = false);
    // The folders out to the holder, whatever its letter case and trailing blanks, oldest first.
    bool HeldBy(const QString &holder, QList<Loan> *out);
    // The docket's selection rules: a judge other than "*ALL", a room that sorts after "*ALL", a
    // time range normalised as the docket normalises it, a branch from the case's master.
    bool PullList(const DocketSelection &selection, QList<Pull> *out);
    // The same, handed over a page at a time (take may move the rows out), so that a caller that
    // writes them as they come holds one page, not the day. Without `titled` the titles are left
    // to Title: the case style program runs once a hearing, a round trip each on a server.
    bool PullPages(const DocketSelection &selection, const std::function<void(QList<Pull> &)> &take,
                   int pageSize = 20000, bool titled = true);
    // One page of it, untitled: at most `size` hearings from `offset` on; *read counts the
    // hearings the page held (a branch leaves some out of *out).
    bool PullPage(const DocketSelection &selection, qint64 offset, int size, QList<Pull> *out, qsizetype *read);
    bool Title(Pull &pull);
    // Folders out longer than `days`, grouped by holder; the holder with the oldest folder first.
    // With a limit, only the `limit` folders out longest; *more tells whether there were others.
    bool Overdue(int days, QList<HolderGroup> *out, int limit = 0, bool *more = nullptr);
    bool AgeSummary(Ages *out);

    // The loan date as a comparable yyyymmdd number.
    static qint32 DateKey(const QDate &date) { return date.year() * 10000 + date.month() * 100 + date.day(); }
    // " Limit n", or " Fetch First n Rows Only" where the engine has no Limit: put after Order By.
    static QString RowLimit(Connection::Dialect dialect, int n);

private:
    bool Run(const QString &statement, const QVariantList &params);
    // The court's engine; false, with Error raised, when the court cannot be opened.
    bool Dialect(Connection::Dialect *dialect);
    Loan LoanOfRow(const QVariant &year, const QVariant &type, const QVariant &sequence) const;
    bool BranchMatches(const CaseKey &key, const QString &branch);

    QPointer<DataObject> m_data;
    QPointer<DataObject> m_master;
    QDate m_today = QDate::currentDate();
    bool m_failed = false;
};
