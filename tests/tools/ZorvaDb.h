#pragma once

#include "TestWorld.h"

#include <QProcessEnvironment>
#include <QStringList>

// Runs the built zorva-db in a child process whose home, data and settings folders lie inside
// the test's world, so that nothing reaches the user's own court or settings.
class ZorvaDb
{
public:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    explicit ZorvaDb(const TestWorld &world);

    // Extra variables for the child (ZORVA_DATABASE, TZ); empty values are removed instead.
    Result Run(const QStringList &args, const QList<std::pair<QString, QString>> &env = {}) const;

    QProcessEnvironment Environment() const { return m_env; }

private:
    QProcessEnvironment m_env;
};

std::ostream &operator<<(std::ostream &os, const ZorvaDb::Result &r);
