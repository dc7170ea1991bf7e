#include "BatchLookup.h"

#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "util/modGetCaseStyle.h"
#include "util/modTypeOfCase.h"

QString BatchLookup::Statement(const QString &type)
{
    return FolderStatements::CaseLookup(modTypeOfCase::MasterTableName(type));
}

BatchLookup::Result BatchLookup::Lookup(double year, const QString &type, const QString &sequenceText, double sequence)
{
    m_failed = false;
    Result result;
    if (!m_master)
        return result;
    const QMetaObject::Connection watch =
        QObject::connect(m_master, &DataObject::Error, m_master, [this] { m_failed = true; });
    m_master->SetStatement(Statement(type));
    m_master->Execute({}, QVariantList{year, type, sequenceText}, true, true);
    QObject::disconnect(watch);
    if (m_failed || m_master->Eof())
        return result;
    const QString litigantType = m_master->Field(QStringLiteral("MASLTP")).toString();
    const qint16 litigant = static_cast<qint16>(m_master->Field(QStringLiteral("MASLIT")).toInt());
    result.holder = m_master->Field(QStringLiteral("FILOTO")).toString();
    QString plfNam, plfLtp, versus, defNam, defLtp, plfAty, defAty;
    qint16 plfLit = 0, defLit = 0;
    // A failing style call reports through the master's channel, so the window closes as for
    // any other data error.
    const QString style = modGetCaseStyle::GetCaseStyle(
        true, static_cast<qint16>(year), type, static_cast<qint32>(sequence), litigantType, litigant, plfNam, plfLtp,
        plfLit, versus, defNam, defLtp, defLit, plfAty, defAty, [this](qint32 number, const QString &description) {
            m_failed = true;
            if (m_master)
                m_master->RaiseError(number, description);
        });
    if (m_failed)
        return result;
    qsizetype lead = 0;
    while (lead < style.size() && style.at(lead) == QLatin1Char(' '))
        ++lead;
    result.title = style.mid(lead);
    result.found = true;
    return result;
}
