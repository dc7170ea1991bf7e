#pragma once

#include "TestWorld.h"

#include <QProcessEnvironment>

// Runs a built program (zorva-db unless told otherwise) in a child process whose home, data and
// settings folders lie inside the test's world, so that nothing reaches the user's own court.
class ZorvaDb
{
public:
    struct Result
    {
        int exitCode = -1;
        QString out, err;
    };

    explicit ZorvaDb(const TestWorld &world);

    // Extra variables for the child (ZORVA_DATABASE, TZ).
    Result Run(const QStringList &args, const QList<std::pair<QString, QString>> &env = {},
               const QString &program = QStringLiteral(ZORVA_DB_PATH)) const;

private:
    QProcessEnvironment m_env;
};

std::ostream &operator<<(std::ostream &os, const ZorvaDb::Result &r);
