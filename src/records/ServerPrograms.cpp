#include "ServerPrograms.h"

#include "Connection.h"
#include "KeptStatements.h"
#include "StatementTrace.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace ServerPrograms {
namespace {

void SetOutput(QList<ProcedureCall::Parameter> &params, const QString &name, const QVariant &value)
{
    for (ProcedureCall::Parameter &p : params) {
        if (p.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (p.type == ProcedureCall::adChar) {
            // A fixed-length output holds at most its size; the blanks that pad it are dropped.
            QString text = value.toString();
            if (p.size > 0)
                text.truncate(p.size);
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
            p.value = text;
        } else {
            // A decimal output comes back as a number, as through the court's driver; a null stays
            // a null, for the caller to see.
            p.value = value.isNull() ? QVariant(QMetaType::fromType<double>()) : QVariant(value.toDouble());
        }
        return;
    }
}

struct Litigant
{
    QString type;
    QVariant number = 0; // as the master holds it, null included
    QString name;
    QString attorney;
};

// The outputs of the stand-in, in the order the server function returns them.
const char *const StyleOutputs[] = {"PrmPlfLtp", "PrmPlfLit", "PrmPlfNam", "PrmPlfAty", "PrmVersus",
                                    "PrmDefLtp", "PrmDefLit", "PrmDefNam", "PrmDefAty"};

// A PostgreSQL database carries the program as the function mrlcrt.wingetsty (QPSQL cannot
// prepare a CALL nor read output binds back).
bool WinGetStyOnServer(QSqlDatabase &db, QList<ProcedureCall::Parameter> &params, QString *error)
{
    const QString statement = QStringLiteral(
        "Select plfltp,plflit,plfnam,plfaty,versus,defltp,deflit,defnam,defaty From mrlcrt.wingetsty(?,?,?,?,?,?)");
    QVariantList values;
    for (int i = 0; i < 6; ++i)
        values << params[i].value;
    StatementTrace::Record(statement, values);
    QSqlQuery *q = KeptStatements::Of(db, statement, error);
    if (!q)
        return false;
    for (int i = 0; i < values.size(); ++i)
        q->bindValue(i, StatementTrace::ForBinding(values.at(i)));
    if (!q->exec() || !q->next()) {
        *error = Connection::FailureText(db, q->lastError());
        q->finish();
        return false;
    }
    for (int i = 0; i < 9; ++i)
        SetOutput(params, QLatin1String(StyleOutputs[i]), q->value(i));
    q->finish();
    return true;
}

} // namespace

QString ProgramName(const QString &callText)
{
    static const QRegularExpression call(QStringLiteral(R"(CALL\s+([^\s(]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = call.match(callText);
    if (!m.hasMatch())
        return {};
    // "/QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM" or "MRLCRT.WINGETSTY": the last name is the program.
    QString path = m.captured(1);
    if (path.endsWith(QLatin1String(".PGM"), Qt::CaseInsensitive))
        path.chop(4);
    path = path.section(QLatin1Char('/'), -1);
    return path.section(QLatin1Char('.'), -1).toUpper();
}

Program Find(const QString &name)
{
    static const QHash<QString, Program> programs{{QStringLiteral("WINGETSTY"), WinGetSty}};
    return programs.value(name.toUpper());
}

bool WinGetSty(QSqlDatabase &db, QList<ProcedureCall::Parameter> &params, QString *error)
{
    if (params.size() < 6) {
        *error = QStringLiteral("WINGETSTY needs its six input parameters.");
        return false;
    }
    if (Connection::DialectOf(db) == Connection::Dialect::PostgreSQL)
        return WinGetStyOnServer(db, params, error);
    // The case lives in one of the two masters; the server does not need the type classes.
    const QString statement = QStringLiteral(
        "Select MASLTP,MASLIT,MASNAM,MASATY From MRLCRT.MASCRM Where MASYER=? And MASTYP=? And MASSEQ=?"
        " Union All "
        "Select MASLTP,MASLIT,MASNAM,MASATY From MRLCRT.MASCIV Where MASYER=? And MASTYP=? And MASSEQ=?"
        " Order By 1,2");
    const QVariantList key{params[1].value, params[2].value, params[3].value};
    const QVariantList values = key + key;
    StatementTrace::Record(statement, values);
    // Prepared once per connection: the stand-in is called afresh for every case of a list.
    QSqlQuery *kept = KeptStatements::Of(db, statement, error);
    if (!kept)
        return false;
    QSqlQuery &q = *kept;
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, StatementTrace::ForBinding(values.at(i)));
    if (!q.exec()) {
        *error = Connection::FailureText(db, q.lastError());
        q.finish();
        return false;
    }
    bool any = false;
    Litigant plaintiff, defendant;
    bool havePlaintiff = false, haveDefendant = false;
    while (q.next()) {
        any = true;
        const Litigant l{q.value(0).toString().trimmed(), q.value(1), q.value(2).toString(),
                         q.value(3).toString()};
        if (l.type == QLatin1String("PL") && !havePlaintiff) {
            plaintiff = l;
            havePlaintiff = true;
        } else if (l.type == QLatin1String("DF") && !haveDefendant) {
            defendant = l;
            haveDefendant = true;
        }
    }
    q.finish();

    SetOutput(params, QStringLiteral("PrmPlfLtp"), plaintiff.type);
    SetOutput(params, QStringLiteral("PrmPlfLit"), plaintiff.number);
    SetOutput(params, QStringLiteral("PrmPlfNam"), plaintiff.name);
    SetOutput(params, QStringLiteral("PrmPlfAty"), plaintiff.attorney);
    SetOutput(params, QStringLiteral("PrmVersus"), any ? QStringLiteral("VS") : QString());
    SetOutput(params, QStringLiteral("PrmDefLtp"), defendant.type);
    SetOutput(params, QStringLiteral("PrmDefLit"), defendant.number);
    SetOutput(params, QStringLiteral("PrmDefNam"), defendant.name);
    SetOutput(params, QStringLiteral("PrmDefAty"), defendant.attorney);
    return true;
}

} // namespace ServerPrograms
