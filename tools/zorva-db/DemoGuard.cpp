#include "DemoGuard.h"

#include "ConsoleText.h"

#include "util/modFormatCaseNumber.h"
#include "util/modTypeOfCase.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace DemoGuard {
namespace {

constexpr int Named = 3; // rows named per difference; the count says the rest

QString Text(const QVariant &v) { return v.toString().trimmed(); }

QString KeyOf(const CaseKey &k)
{
    return modFormatCaseNumber::FormatCaseNumber(k.year, k.type.trimmed(), k.sequence, QString(), 0, true);
}

// A row as compared: the case number, then the other compared columns, blank-separated.
QString RowText(const CaseKey &key, const QStringList &columns)
{
    return (QStringList{KeyOf(key)} + columns).join(QLatin1Char(' ')).trimmed();
}

// One court table as seeding writes it: its query (year, type, sequence first, then the columns
// compared, dates left out) and the demo's rows as that query would read them back.
struct Table
{
    QString name;
    QString columns;
    QHash<QString, int> demo; // row text -> how many times
};

QList<Table> DemoTables(const Court::Rows &demo)
{
    Table crm{QStringLiteral("MASCRM"), QStringLiteral("MASYER, MASTYP, MASSEQ, MASLTP, MASLIT, MASBRN, MASNAM, MASATY"), {}};
    Table civ{QStringLiteral("MASCIV"), crm.columns, {}};
    Table hrg{QStringLiteral("HRGDTA"), QStringLiteral("HRGYER, HRGTYP, HRGSEQ, HRGJDG, HRGROM, HRGHTM"), {}};
    Table fil{QStringLiteral("FILCHK"), QStringLiteral("FILYER, FILTYP, FILSEQ, FILOTO, FILUSR"), {}};
    Table log{QStringLiteral("FILLOG"), QStringLiteral("LOGYER, LOGTYP, LOGSEQ, LOGOUT, LOGOTO, LOGUSR, LOGAUT"), {}};
    for (const Court::Case &c : demo.cases)
        for (const Court::Litigant &l : c.litigants)
            ++(modTypeOfCase::TypeOfCase(c.key.type) == 1 ? crm : civ)
                  .demo[RowText(c.key, {l.type, QString::number(l.number), c.branch, l.name, l.attorney})];
    for (const Court::Hearing &h : demo.hearings)
        ++hrg.demo[RowText(h.key, {h.judge, h.room, QString::number(h.time)})];
    for (const Court::Loan &l : demo.loans)
        ++fil.demo[RowText(l.key, {l.party, l.user})];
    for (const Court::LogEntry &e : demo.log)
        ++log.demo[RowText(e.key, {QString::number(e.out ? 1 : 0), e.party, e.user, QString::number(e.automatic ? 1 : 0)})];
    return {crm, civ, hrg, fil, log};
}

QString FirstFew(const QStringList &rows)
{
    QStringList shown;
    for (const QString &row : rows.mid(0, Named))
        shown << ConsoleText::Visible(row);
    return shown.join(QStringLiteral("; ")) + (rows.size() > Named ? QStringLiteral("; ...") : QString());
}

} // namespace

bool Differences(QSqlDatabase &db, const Court::Rows &demo, QStringList *found, QString *error)
{
    found->clear();
    QStringList lines;
    qint64 courtRows = 0;
    for (Table &table : DemoTables(demo)) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        const QString query = QStringLiteral("SELECT %1 FROM MRLCRT.%2").arg(table.columns, table.name);
        if (!q.exec(query)) {
            *error = QStringLiteral("\"%1\" failed: %2").arg(query, q.lastError().text());
            return false;
        }
        QStringList foreign;
        while (q.next()) {
            ++courtRows;
            const CaseKey key{static_cast<qint16>(q.value(0).toInt()), Text(q.value(1)), q.value(2).toInt()};
            QStringList columns;
            for (int i = 3; i < q.record().count(); ++i)
                columns << Text(q.value(i));
            const QString row = RowText(key, columns);
            // Each demo row matches one court row: a folder lent twice to one party is two rows.
            int &left = table.demo[row];
            if (left > 0)
                --left;
            else
                foreign << row;
        }
        QStringList missing;
        for (auto it = table.demo.cbegin(); it != table.demo.cend(); ++it)
            for (int i = 0; i < it.value(); ++i)
                missing << it.key();
        missing.sort();
        QStringList parts;
        if (!foreign.isEmpty())
            parts << QStringLiteral("%1 row(s) not the demo's (%2)").arg(foreign.size()).arg(FirstFew(foreign));
        if (!missing.isEmpty())
            parts << QStringLiteral("%1 demo row(s) missing or changed (%2)").arg(missing.size()).arg(FirstFew(missing));
        if (!parts.isEmpty())
            lines << table.name + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    }
    // An empty court is seeded without a question.
    if (courtRows > 0)
        *found = lines;
    return true;
}

} // namespace DemoGuard
