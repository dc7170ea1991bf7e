#include "DemoCourt.h"

#include "Litigants.h"
#include "ReferenceCodes.h"

#include <QHash>
#include <QRandomGenerator>

namespace DemoCourt {
namespace {

constexpr quint32 Seed = 20090123;
constexpr int FirstYear = 2022;
constexpr int Years = 5;

CaseKey Key(int year, const char *type, qint32 sequence)
{
    return {static_cast<qint16>(year), QString::fromLatin1(type), sequence};
}

template <typename List> const auto &Pick(const List &list, QRandomGenerator &rng)
{
    return list.at(static_cast<qsizetype>(rng.bounded(static_cast<quint32>(list.size()))));
}

QDateTime At(const QDate &date, int hour, int minute)
{
    return QDateTime(date, QTime(hour, minute));
}

// A few fixed cases older than the rest, so that a demonstration can name them: one on loan
// with a history, one never lent, one with the prosecutor.
void AddShowcases(Court::Rows &court, const QDate &today)
{
    const QString PL = QStringLiteral("PL"), DF = QStringLiteral("DF");
    const CaseKey lent = Key(2009, "CV", 123), free = Key(2019, "CA", 42), prosecutor = Key(2018, "CF", 311);

    court.cases << Court::Case{lent,
                               QStringLiteral("N"),
                               {{PL, 1, QStringLiteral("STATE"), QStringLiteral("DISTRICT ATTORNEY")},
                                {DF, 1, QStringLiteral("BAKER, THOMAS"), QStringLiteral("PUBLIC DEFENDER")}}};
    court.cases << Court::Case{free,
                               QStringLiteral("S"),
                               {{PL, 1, QStringLiteral("FIRST COUNTY BANK"), QStringLiteral("PRICE, GORDON")},
                                {DF, 1, QStringLiteral("ABLE, JOHN"), QString()},
                                {DF, 2, QStringLiteral("ABLE, MARY"), QString()}}};
    court.cases << Court::Case{prosecutor,
                               QStringLiteral("E"),
                               {{PL, 1, QStringLiteral("STATE"), QStringLiteral("DISTRICT ATTORNEY")},
                                {DF, 1, QStringLiteral("O'BRIEN, SEAN"), QStringLiteral("WEBB, NATHAN")}}};

    court.hearings << Court::Hearing{lent, QStringLiteral("SMI"), QStringLiteral("1"), today, 900};
    court.hearings << Court::Hearing{free, QStringLiteral("JON"), QStringLiteral("2"), today, 1030};
    QDate next = today.addDays(1);
    while (next.dayOfWeek() > 5)
        next = next.addDays(1);
    court.hearings << Court::Hearing{prosecutor, QStringLiteral("GAR"), QStringLiteral("3"), next, 830};

    // Written on 5 January: the stored number loses its leading zero (1052026).
    const QDate january5(2026, 1, 5);
    court.loans << Court::Loan{lent, QStringLiteral("SMI"), january5, QStringLiteral("CLERK1")};
    court.loans << Court::Loan{prosecutor, QStringLiteral("DA OFFICE"), today.addDays(-3),
                               QStringLiteral("CLERK2")};

    court.log << Court::LogEntry{
        lent, At(QDate(2025, 11, 12), 10, 2), true, QStringLiteral("PUBLIC DEF"), QStringLiteral("CLERK2"),
        true};
    court.log << Court::LogEntry{
        lent, At(QDate(2025, 12, 1), 15, 40), false, QStringLiteral("PUBLIC DEF"), QStringLiteral("CLERK2"),
        true};
    court.log << Court::LogEntry{
        lent, At(january5, 9, 14), true, QStringLiteral("SMI"), QStringLiteral("CLERK1"), false};
    court.log << Court::LogEntry{prosecutor,
                                 At(today.addDays(-3), 11, 25),
                                 true,
                                 QStringLiteral("DA OFFICE"),
                                 QStringLiteral("CLERK2"),
                                 false};
}

// Cases planted for zorva-db audit to find, one of each kind: a loan made outside the component
// (no log row), a return made outside it (the log's last word is "out"), a loan of a case in no
// master table, a loan dated in the future, a log row changed after it was written, and rows
// written before the chain existed.
void AddAuditCases(Court::Rows &court, const QDate &today)
{
    const QString PL = QStringLiteral("PL"), DF = QStringLiteral("DF"), clerk = QStringLiteral("CLERK3");
    const auto civil = [&](qint32 sequence, const char *defendant) {
        const CaseKey key = Key(2017, "CV", sequence);
        court.cases << Court::Case{key,
                                   QStringLiteral("N"),
                                   {{PL, 1, QStringLiteral("FIRST COUNTY BANK"), QStringLiteral("PRICE, GORDON")},
                                    {DF, 1, QString::fromLatin1(defendant), QString()}}};
        return key;
    };
    const QDate lent = today.addDays(-12);
    court.loans << Court::Loan{civil(501, "HALE, RITA"), QStringLiteral("SHERIFF"), lent, clerk};

    const CaseKey returned = civil(502, "IVES, CARL");
    court.log << Court::LogEntry{returned, At(lent, 10, 0), true, QStringLiteral("PUBLIC DEF"), clerk, false};

    const CaseKey unknown = Key(2017, "CV", 503);
    court.loans << Court::Loan{unknown, QStringLiteral("DA OFFICE"), lent, clerk};
    court.log << Court::LogEntry{unknown, At(lent, 10, 30), true, QStringLiteral("DA OFFICE"), clerk, false};

    const CaseKey ahead = civil(504, "JUNG, OTTO");
    court.loans << Court::Loan{ahead, QStringLiteral("SMI"), today.addDays(30), clerk};
    court.log << Court::LogEntry{ahead, At(lent, 11, 0), true, QStringLiteral("SMI"), clerk, false};

    const CaseKey altered = civil(505, "KANE, LENA");
    Court::LogEntry changed{altered, At(lent.addDays(-30), 9, 0), true, QStringLiteral("DA OFFICE"), clerk, false};
    changed.seal = Court::LogEntry::Seal::Altered;
    changed.sealedParty = QStringLiteral("PUBLIC DEF");
    court.log << changed;
    court.log << Court::LogEntry{altered, At(lent.addDays(-20), 9, 0), false, QStringLiteral("DA OFFICE"), clerk, false};

    const CaseKey old = civil(506, "LOWE, MARK");
    for (const bool out : {true, false}) {
        Court::LogEntry before{old, At(QDate(2019, 3, out ? 4 : 11), 14, 0), out, QStringLiteral("JON"), clerk, false};
        before.seal = Court::LogEntry::Seal::Unchained;
        court.log << before;
    }
}

// Court days from ten days back to ten ahead, and today whatever day it is, so that the
// docket window's default date has cases.
QList<QDate> HearingDays(const QDate &today)
{
    QList<QDate> days;
    for (int d = -10; d <= 10; ++d) {
        const QDate day = today.addDays(d);
        if (d == 0 || day.dayOfWeek() <= 5)
            days << day;
    }
    return days;
}

void AddHearings(Court::Rows &court, const Court::Case &c, const QList<QDate> &days, QRandomGenerator &rng)
{
    using namespace ReferenceCodes;
    const QString judge = Pick(SittingJudges(), rng);
    const QString type = c.key.type;
    auto hearing = [&](const QDate &day, qint16 time, const QString &who) {
        court.hearings << Court::Hearing{c.key, who, HomeRoom(who, type), day, time};
    };
    const quint32 r = rng.bounded(100u);
    if (r >= 75)
        return; // nothing scheduled near today
    const QDate day = Pick(days, rng);
    const qsizetype slot = rng.bounded(static_cast<quint32>(HearingTimes().size() - 1));
    hearing(day, HearingTimes().at(slot), judge);
    if (r < 6) {
        // Heard twice that day: a later setting, sometimes before another judge.
        const QString second = rng.bounded(2u) ? judge : Pick(SittingJudges(), rng);
        hearing(day, HearingTimes().at(slot + 1), second);
    } else if (r < 18) {
        hearing(Pick(days, rng), Pick(HearingTimes(), rng), judge);
    }
}

void AddLoan(Court::Rows &court, const Court::Case &c, const QDate &today, QRandomGenerator &rng)
{
    using namespace ReferenceCodes;
    if (rng.bounded(100u) >= 13)
        return;
    const QString party = rng.bounded(2u) ? Pick(SittingJudges(), rng) : Pick(LoanParties(), rng);
    const QDate date = today.addDays(-1 - static_cast<int>(rng.bounded(45u)));
    const QString user = Pick(Clerks(), rng);
    const bool automatic = rng.bounded(2u);
    if (rng.bounded(3u) == 0) {
        // Lent once before and returned.
        const QString earlier = Pick(LoanParties(), rng);
        const QDate out = date.addDays(-20 - static_cast<int>(rng.bounded(60u)));
        court.log << Court::LogEntry{c.key, At(out, 9, 30), true, earlier, user, automatic};
        court.log << Court::LogEntry{c.key, At(out.addDays(7), 14, 5), false, earlier, user, automatic};
    }
    court.loans << Court::Loan{c.key, party, date, user};
    court.log << Court::LogEntry{
        c.key, At(date, 8 + static_cast<int>(rng.bounded(9u)), 10), true, party, user, automatic};
}

} // namespace

Court::Rows Build(const QDate &today)
{
    Court::Rows court;
    AddShowcases(court, today);
    AddAuditCases(court, today);

    QRandomGenerator rng(Seed);
    const QList<QDate> days = HearingDays(today);
    QHash<QString, qint32> lastSequence;
    for (const ReferenceCodes::CaseType &type : ReferenceCodes::CaseTypes()) {
        for (int i = 0; i < type.demoCases; ++i) {
            const int year = FirstYear + static_cast<int>(rng.bounded(static_cast<quint32>(Years)));
            const qint32 sequence = ++lastSequence[QString::number(year) + type.code];
            Court::Case c{{static_cast<qint16>(year), type.code, sequence},
                          Pick(ReferenceCodes::Branches(), rng),
                          Litigants::ForCase(type.code, rng)};
            AddHearings(court, c, days, rng);
            AddLoan(court, c, today, rng);
            court.cases << std::move(c);
        }
    }
    return court;
}

} // namespace DemoCourt
