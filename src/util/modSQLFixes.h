#pragma once

#include <QString>

namespace modSQLFixes {

// The text with every single quote doubled, for use inside a quoted SQL literal.
QString SQLFix(QString text);

} // namespace modSQLFixes
