#pragma once

#include "records/CaseKey.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// The rows of a synthetic court, as the tools write them into the court tables.
namespace Court {

// One master row: a plaintiff ("PL") or defendant ("DF"), numbered from 1 within its type.
struct Litigant
{
    QString type;
    qint16 number = 0;
    QString name;     // at most 35 characters, upper case, "ABLE, JOHN"
    QString attorney; // empty when the party has none
};

struct Case
{
    CaseKey key;
    QString branch; // one character, the same on every litigant row
    QList<Litigant> litigants;
};

struct Hearing
{
    CaseKey key;
    QString judge;
    QString room;
    QDate date;
    qint16 time = 0; // hhmm on the 24-hour clock
};

struct Loan
{
    CaseKey key;
    QString party; // at most 13 characters
    QDate date;
    QString user;
};

struct LogEntry
{
    CaseKey key;
    QDateTime stamp;
    bool out = false;
    QString party;
    QString user;
    bool automatic = false;
    // Chained as the log writer chains it; written before the chain existed (no digest); or
    // chained over sealedParty and then changed behind the log's back (the demo's tampered row).
    enum class Seal { Chained, Unchained, Altered };
    Seal seal = Seal::Chained;
    QString sealedParty{};
};

struct Rows
{
    QList<Case> cases;
    QList<Hearing> hearings;
    QList<Loan> loans;
    QList<LogEntry> log;

    qsizetype LitigantCount() const
    {
        qsizetype n = 0;
        for (const Case &c : cases)
            n += c.litigants.size();
        return n;
    }
};

} // namespace Court
