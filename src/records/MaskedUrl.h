#pragma once

#include <QString>

// A court database URL fit to be shown or logged: every password in it replaced by ***, in each
// form a URL or connection string may carry one: user:password@ in a server URL, password= in its
// query, PWD= or PASSWORD= in an ODBC string (a braced value, braces and ; inside it included).
// Everything else stays as written, so that IT staff still see which court was meant.
QString MaskedUrl(const QString &url);
