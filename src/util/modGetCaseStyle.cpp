#include "modGetCaseStyle.h"

#include "modBooleanConversions.h"
#include "records/ProcedureCall.h"

#include <cmath>
#include <limits>

namespace modGetCaseStyle {

namespace {

// A litigant number as the window holds it, a 16-bit integer; a value that is not one (null,
// fractional, out of range) is a failure to report, never a 0 or a wrapped number.
bool ToLitigantNumber(const QVariant &value, const char *name, qint16 &number, QString *why)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (value.isNull() || !ok) {
        *why = QStringLiteral("WINGETSTY returned no number in %1.").arg(QLatin1String(name));
        return false;
    }
    if (d != std::trunc(d) || d < std::numeric_limits<qint16>::min() || d > std::numeric_limits<qint16>::max()) {
        *why = QStringLiteral("WINGETSTY returned %1 in %2, which is not a litigant number.")
                   .arg(value.toString(), QLatin1String(name));
        return false;
    }
    number = static_cast<qint16>(d);
    return true;
}

} // namespace

QString GetCaseStyle(bool RtvUsrSecF, qint16 PrmYer, const QString &PrmTyp, qint32 PrmSeq, const QString &PrmLTp,
                     qint16 PrmLit, QString &PrmPlfNam, QString &PrmPlfLtp, qint16 &PrmPlfLit, QString &PrmVersus,
                     QString &PrmDefNam, QString &PrmDefLtp, qint16 &PrmDefLit, QString &PrmPlfAty,
                     QString &PrmDefAty, const ErrorHandler &onError, const QString &role)
{
    const QString flag = modBooleanConversions::BoolToString(RtvUsrSecF, QStringLiteral("1"), QStringLiteral("0"));

    ProcedureCall call;
    call.SetRole(role);
    if (onError)
        QObject::connect(&call, &ProcedureCall::Error, onError);
    call.SetCommandText(QLatin1String(CommandText));
    constexpr int In = ProcedureCall::adParamInput, Out = ProcedureCall::adParamOutput;
    constexpr int Char = ProcedureCall::adChar, Dec = ProcedureCall::adDecimal;
    call.AddParameter(QStringLiteral("RtvUsrSecF"), Char, In, 1, 0);
    call.AddParameter(QStringLiteral("PrmYer"), Dec, In, 4, 0);
    call.AddParameter(QStringLiteral("PrmTyp"), Char, In, 2, 0);
    call.AddParameter(QStringLiteral("PrmSeq"), Dec, In, 6, 0);
    call.AddParameter(QStringLiteral("PrmLTp"), Char, In, 2, 0);
    call.AddParameter(QStringLiteral("PrmLit"), Dec, In, 3, 0);
    call.AddParameter(QStringLiteral("PrmPlfLtp"), Char, Out, 2, 0);
    call.AddParameter(QStringLiteral("PrmPlfLit"), Dec, Out, 3, 0);
    call.AddParameter(QStringLiteral("PrmPlfNam"), Char, Out, 35, 0);
    call.AddParameter(QStringLiteral("PrmPlfAty"), Char, Out, 35, 0);
    call.AddParameter(QStringLiteral("PrmVersus"), Char, Out, 3, 0);
    call.AddParameter(QStringLiteral("PrmDefLtp"), Char, Out, 2, 0);
    call.AddParameter(QStringLiteral("PrmDefLit"), Dec, Out, 3, 0);
    call.AddParameter(QStringLiteral("PrmDefNam"), Char, Out, 35, 0);
    call.AddParameter(QStringLiteral("PrmDefAty"), Char, Out, 35, 0);

    const QString none;
    // fromValue keeps the 16-bit types, which QVariant's constructors would widen.
    const QVariant zero = QVariant::fromValue<qint16>(0);
    call.Execute({flag, QVariant::fromValue(PrmYer), PrmTyp, PrmSeq, PrmLTp, QVariant::fromValue(PrmLit), none, zero,
                  none, none, none, none, zero, none, none});

    qint16 plfLit = 0, defLit = 0;
    QString why;
    if (!ToLitigantNumber(call.Parameters(QStringLiteral("PrmPlfLit")), "PrmPlfLit", plfLit, &why) ||
        !ToLitigantNumber(call.Parameters(QStringLiteral("PrmDefLit")), "PrmDefLit", defLit, &why)) {
        if (onError)
            onError(-1, why);
        return {};
    }
    PrmPlfLtp = call.Parameters(QStringLiteral("PrmPlfLtp")).toString();
    PrmPlfLit = plfLit;
    PrmPlfNam = call.Parameters(QStringLiteral("PrmPlfNam")).toString();
    PrmPlfAty = call.Parameters(QStringLiteral("PrmPlfAty")).toString();
    PrmVersus = call.Parameters(QStringLiteral("PrmVersus")).toString();
    PrmDefLtp = call.Parameters(QStringLiteral("PrmDefLtp")).toString();
    PrmDefLit = defLit;
    PrmDefNam = call.Parameters(QStringLiteral("PrmDefNam")).toString();
    PrmDefAty = call.Parameters(QStringLiteral("PrmDefAty")).toString();
    return PrmPlfNam + QLatin1Char(' ') + PrmVersus + QLatin1Char(' ') + PrmDefNam;
}

} // namespace modGetCaseStyle
