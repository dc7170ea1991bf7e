#include "GalleryCourt.h"

#include "records/Connection.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"

#include <QDate>
#include <QObject>

namespace {

struct Loan
{
    int year;
    const char *type;
    int sequence;
    const char *loanedTo;
};

// Several holders share their first letters, so that typing one or two letters offers a list.
constexpr Loan Loans[] = {
    {2009, "CV", 123, "SMITH"},      {2011, "CF", 17, "SMITHERS"},   {2014, "CA", 88, "SMALL CLAIMS"},
    {2018, "CF", 311, "PROSECUTOR"}, {2019, "CA", 42, "PUBLIC DEF"}, {2020, "TR", 905, "SHERIFF"},
};

} // namespace

GalleryCourt::GalleryCourt()
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_folder.errorString();
        return;
    }
    m_url = QStringLiteral("sqlite:") + m_folder.filePath(QStringLiteral("court.db"));
    Connection::Use(m_url, QStringLiteral("zorva-gallery"), Connection::Access::Create);

    DataObject insert;
    QObject::connect(&insert, &DataObject::Error, [this](qint32, const QString &description) {
        if (m_error.isEmpty())
            m_error = description;
    });
    const QString today = QDate::currentDate().toString(QStringLiteral("MMddyyyy"));
    for (const Loan &loan : Loans) {
        insert.Execute(QLatin1String(FolderStatements::InsertLoanDocket),
                       QVariantList{loan.year, QLatin1String(loan.type), loan.sequence,
                                    QLatin1String(loan.loanedTo), today.toLongLong(),
                                    QStringLiteral("GALLERY")});
        if (!m_error.isEmpty())
            return;
    }
}

// The file goes with the folder: let go of it first.
GalleryCourt::~GalleryCourt()
{
    Connection::CloseAll();
}
