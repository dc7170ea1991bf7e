#pragma once

#include <QString>
#include <functional>

// The case's title ("ABLE VS BAKER") from the court's server program WINGETSTY.
namespace modGetCaseStyle {

inline constexpr char CommandText[] =
    "{{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)}}";

// A failure of the call is not caught here: it reaches the caller through onError, raised
// inside the call as the data objects raise theirs; the outputs are then empty. So does an output
// that does not convert: a litigant number that is null or beyond 16 bits gives onError and an
// empty result, the outputs untouched.
using ErrorHandler = std::function<void(qint32 number, const QString &description)>;

// Returns PrmPlfNam + " " + PrmVersus + " " + PrmDefNam and fills the nine outputs.
QString GetCaseStyle(bool RtvUsrSecF, qint16 PrmYer, const QString &PrmTyp, qint32 PrmSeq, const QString &PrmLTp,
                     qint16 PrmLit, QString &PrmPlfNam, QString &PrmPlfLtp, qint16 &PrmPlfLit, QString &PrmVersus,
                     QString &PrmDefNam, QString &PrmDefLtp, qint16 &PrmDefLit, QString &PrmPlfAty,
                     QString &PrmDefAty, const ErrorHandler &onError = {},
                     const QString &role = QStringLiteral("data"));

} // namespace modGetCaseStyle
