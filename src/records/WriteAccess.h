#pragma once

#include <QString>

// Whether this connection's user may change loans, asked of the server before a window offers
// to: a reader on a PostgreSQL court is refused every change, and is better told so at once than
// at the first statement.
namespace WriteAccess {

// The server's refusal of a loan change, in its own words; empty when changes are allowed, or
// when the engine grants them to whoever can open the court (a file).
QString Refusal();

} // namespace WriteAccess
