#pragma once

#include "DocketSelection.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "records/DataObject.h"

class Transaction;


// Checks the folders of every case heard on one docket out to a party (or each hearing's judge),
// or back in. It has no window: the docket window hands it the selection, connects the data
// objects' Error events, and tells the clerk the count.
class DocketRun : public QObject
{
    Q_OBJECT
public:
    // Creates the data objects, in the order adoHRGDTA, adoMASTER, adoFILCHK.
    DocketRun(const DocketSelection &selection, const QString &user, bool logAuto, bool logManual,
              QObject *parent = nullptr);
    ~DocketRun() override;

    DataObject *adoHRGDTA() const { return m_hearings; }
    DataObject *adoMASTER() const { return m_master; }
    DataObject *adoFILCHK() const { return m_folders; }

    // The hearing query: the date, then judge, room and time range where chosen.
    static QString HearingStatement(const DocketSelection &selection);
    // " Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234"
    static QString FolderWhereClause(qint16 year, const QString &type, qint32 sequence);

    // Goes through the docket; returns the count of status changes (the true count: a docket may
    // hold more than 32767). Stops at the first data error (the Error event has been raised by
    // then). progress(done, total) follows each hearing. Logging failures are told in one box.
    int Run(const std::function<void(qsizetype done, qsizetype total)> &progress = {});
    bool Failed() const { return m_failed; }
    // The hearing rows that were not run, each with its reason: no case key, or no party.
    const QStringList &LeftOut() const { return m_leftOut; }

    // Closes the data objects, in the order they were created.
    void Close();

private:
    bool Included(const QVariant &year, const QVariant &type, const QVariant &sequence);
    int CheckOut(Transaction &change, qint16 year, const QString &type, qint32 sequence, const QString &where);
    int CheckIn(Transaction &change, qint16 year, const QString &type, qint32 sequence, const QString &where);

    DocketSelection m_selection;
    QString m_user;
    bool m_logAuto;
    bool m_logManual;
    QString m_today; // "MMddyyyy", fixed for the whole run
    bool m_failed = false;
    QPointer<DataObject> m_hearings;
    QPointer<DataObject> m_master;
    QPointer<DataObject> m_folders;
    QVariantList m_hearing; // HRGYER, HRGTYP, HRGSEQ, HRGJDG of the current hearing
    QStringList m_leftOut;
};
