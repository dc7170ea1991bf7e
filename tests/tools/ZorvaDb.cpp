#include "ZorvaDb.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <ostream>

ZorvaDb::ZorvaDb(const TestWorld &world) : m_env(QProcessEnvironment::systemEnvironment())
{
    for (const char *folder : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const QString path = world.Path(QStringLiteral("child/") + QLatin1String(folder));
        QDir().mkpath(path);
        m_env.insert(QLatin1String(folder), path);
    }
    m_env.remove(QStringLiteral("ZORVA_DATABASE"));
}

ZorvaDb::Result ZorvaDb::Run(const QStringList &args, const QList<std::pair<QString, QString>> &env) const
{
    QProcessEnvironment childEnv = m_env;
    for (const auto &[name, value] : env) {
        if (value.isEmpty())
            childEnv.remove(name);
        else
            childEnv.insert(name, value);
    }
    QProcess process;
    process.setProcessEnvironment(childEnv);
    process.start(QStringLiteral(ZORVA_DB_PATH), args);
    Result result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "zorva-db " << args.join(QLatin1Char(' ')).toStdString()
                      << " did not finish: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

std::ostream &operator<<(std::ostream &os, const ZorvaDb::Result &r)
{
    return os << "exit " << r.exitCode << "\nstdout: " << r.out.toStdString()
              << "\nstderr: " << r.err.toStdString();
}
