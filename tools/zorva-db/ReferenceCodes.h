#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The codes the synthetic courts use. They must agree with the reference tables in data/
// (ARYTYP.XML, ARYJDG.XML, ARYROM.XML), or the docket window could not select what was seeded.
namespace ReferenceCodes {

struct CaseType
{
    QString code;
    int demoCases; // how many of this type the demo court holds
};

// Criminal and civil types in a county court's usual proportions.
const QList<CaseType> &CaseTypes();
// Judges who sit now (active in ARYJDG.XML); a retired judge hears nothing.
const QStringList &SittingJudges();
const QStringList &Rooms();
// Where a judge usually sits; traffic and ordinance cases go to the traffic room.
QString HomeRoom(const QString &judge, const QString &caseType);
const QStringList &Branches();
const QList<qint16> &HearingTimes();
// Holders of folders other than the judges (at most 13 characters each).
const QStringList &LoanParties();
const QStringList &Clerks();

} // namespace ReferenceCodes
