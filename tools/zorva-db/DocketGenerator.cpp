#include "DocketGenerator.h"

#include "Litigants.h"
#include "ReferenceCodes.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace DocketGenerator {
namespace {

template <typename List> const auto &Pick(const List &list, QRandomGenerator &rng)
{
    return list.at(static_cast<qsizetype>(rng.bounded(static_cast<quint32>(list.size()))));
}

} // namespace

Court::Rows Build(const QDate &date, int hearings, qint32 firstSequence)
{
    using namespace ReferenceCodes;
    // Seeded by what is generated, so that the same command on the same tables repeats itself.
    QRandomGenerator rng(static_cast<quint32>(date.toJulianDay()) ^ static_cast<quint32>(firstSequence));
    Court::Rows docket;
    docket.cases.reserve(hearings);
    docket.hearings.reserve(hearings);
    for (int i = 0; i < hearings; ++i) {
        // Types in turn, so that every class and master table gets its share.
        const QString type = CaseTypes().at(i % CaseTypes().size()).code;
        const CaseKey key{static_cast<qint16>(date.year()), type, firstSequence + i};
        docket.cases << Court::Case{key, Pick(Branches(), rng), Litigants::ForCase(type, rng)};
        const QString judge = Pick(SittingJudges(), rng);
        const QString room = rng.bounded(4u) ? HomeRoom(judge, type) : Pick(Rooms(), rng);
        docket.hearings << Court::Hearing{key, judge, room, date, Pick(HearingTimes(), rng)};
    }
    return docket;
}

std::optional<qint32> NextSequence(QSqlDatabase &db, qint16 year, QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT MAX(MASSEQ) FROM (SELECT MASSEQ FROM MRLCRT.MASCRM WHERE MASYER=? AND MASSEQ>=?"
        " UNION ALL SELECT MASSEQ FROM MRLCRT.MASCIV WHERE MASYER=? AND MASSEQ>=?) AS GENERATED_CASES"));
    for (const QVariant &v :
         {QVariant(year), QVariant(FirstSequence), QVariant(year), QVariant(FirstSequence)})
        q.addBindValue(v);
    if (!q.exec() || !q.next()) {
        *error = QStringLiteral("cannot read the case masters: %1").arg(q.lastError().text());
        return std::nullopt;
    }
    const QVariant last = q.value(0);
    q.finish();
    return last.isNull() ? FirstSequence : last.toInt() + 1;
}

} // namespace DocketGenerator
