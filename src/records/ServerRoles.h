#pragma once

#include <QSqlDatabase>
#include <QString>

// The court's roles on a PostgreSQL server, each with the least it needs: a reader (reads every
// table and calls the case style function, which only reads: the locator, where, holder,
// pull-list, overdue, audit) and a clerk (also changes loans and adds log rows); the owner is
// whoever ran init. They are named after the court's database, "<database>_reader" and
// "<database>_clerk", so that two courts on one server keep their users apart.
namespace ServerRoles {

inline constexpr char Reader[] = "reader";
inline constexpr char Clerk[] = "clerk";

QString Name(QSqlDatabase &db, const QString &kind);

// Creates the roles when missing (createMissing) and gives them their rights on the tables as
// they stand; without createMissing, roles that do not exist are passed over.
bool Apply(QSqlDatabase &db, bool createMissing, QString *error);

// Makes login a member of the court's reader or clerk role.
bool Grant(QSqlDatabase &db, const QString &kind, const QString &login, QString *error);

} // namespace ServerRoles
