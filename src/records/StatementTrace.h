#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QVariantList>

Q_DECLARE_LOGGING_CATEGORY(lcStatements)
Q_DECLARE_LOGGING_CATEGORY(lcData)

namespace StatementTrace {

// One trace entry: the statement text on the first line, then one line per bound value,
// "  ?1 = 2009 (short)", so that IT staff see exactly what reached the server.
void Record(const QString &statement, const QVariantList &params);

// The value as the driver should bind it. Drivers bind 16-bit integers as text, so they go as
// 32-bit integers; every other type is kept as the caller gave it.
QVariant ForBinding(const QVariant &value);

} // namespace StatementTrace
