#include "ZorvaDb.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

ZorvaDb::ZorvaDb(const TestWorld &world) : m_env(QProcessEnvironment::systemEnvironment())
{
    for (const char *folder : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const QString path = world.Path(QStringLiteral("child/") + QLatin1String(folder));
        QDir().mkpath(path);
        m_env.insert(QLatin1String(folder), path);
    }
    m_env.remove(QStringLiteral("ZORVA_DATABASE"));
}

ZorvaDb::Result ZorvaDb::Run(const QStringList &args, const QList<std::pair<QString, QString>> &env,
                             const QString &program) const
{
    QProcessEnvironment childEnv = m_env;
    for (const auto &[name, value] : env)
        childEnv.insert(name, value);
    QProcess process;
    process.setProcessEnvironment(childEnv);
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program.toStdString() << " did not finish: " << process.errorString().toStdString();
        return {}; // the child is killed with its QProcess
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

std::ostream &operator<<(std::ostream &os, const ZorvaDb::Result &r)
{
    return os << "exit " << r.exitCode << "\nstdout: " << r.out.toStdString() << "\nstderr: " << r.err.toStdString();
}
