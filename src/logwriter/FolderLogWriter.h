#pragma once

#include <QObject>

// The suite's logging component: every folder status change it is told of becomes one row of
// the log table, stamped with the time in UTC, so that a folder's history can be read back.
// Where the table has a digest column each row is chained to the case's previous one (LogChain).
// It writes on the court connection, so that a row and the loan change it logs can be committed
// together; a failure is reported by Error and the return value, and never undoes the change.
class FolderLogWriter : public QObject
{
    Q_OBJECT
public:
    explicit FolderLogWriter(QObject *parent = nullptr);

    // auto: True for automatic logging, False for manual; checkedOut: True when the folder went
    // out or its loan was rewritten, False when it came back.
    bool Record(qint16 year, const QString &type, qint32 sequence, bool autoMode, const QString &user,
                const QString &loanedTo, bool checkedOut);

    inline static const QString Role = QStringLiteral("data");
    static constexpr char InsertStatement[] =
        "Insert Into MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT)"
        " Values(?,?,?,?,?,?,?,?)";
    // Where the log table has the digest column: each row chained to the case's latest one.
    static constexpr char ChainedInsertStatement[] =
        "Insert Into MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT, LOGDIG)"
        " Values(?,?,?,?,?,?,?,?,?)";
    static constexpr char LatestStatement[] =
        "Select LOGTSP, LOGDIG From MRLCRT.FILLOG Where LOGYER=? And LOGTYP=? And LOGSEQ=? Order By LOGTSP Desc"
        " Limit 1";

signals:
    void Error(qint32 ErrNumber, const QString &ErrDescription);
};
