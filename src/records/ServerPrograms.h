#pragma once

#include "ProcedureCall.h"

#include <QSqlDatabase>
#include <functional>

// Our own implementations of the court server's programs, for databases that have none
// (SQLite, PostgreSQL). Each runs against the caller's connection, reads its inputs from the
// parameter list in order and writes its outputs into it.
namespace ServerPrograms {

using Program = std::function<bool(QSqlDatabase &db, QList<ProcedureCall::Parameter> &params, QString *error)>;

// The program a call text names, e.g. "WINGETSTY" in
// "{{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?,?)}}"; empty when the text calls nothing.
QString ProgramName(const QString &callText);

// The stand-in registered under that name, or an empty function.
Program Find(const QString &name);

// The case style program: plaintiff = the case's first litigant of type "PL", defendant = the
// first of type "DF", versus word "VS", attorneys from MASATY. A case without such a litigant
// gives empty outputs, never an error.
bool WinGetSty(QSqlDatabase &db, QList<ProcedureCall::Parameter> &params, QString *error);

} // namespace ServerPrograms
