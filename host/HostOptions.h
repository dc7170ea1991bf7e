#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The demo host's command line, read without touching the process: main applies the result.
struct HostOptions
{
    QString database;     // --database URL; empty when not given
    QString programFiles; // --program-files DIR; empty when not given
    QString editCase;     // --edit CASE as typed (already known to be a case number)
    QString screenshots;  // --screenshots DIR: a picture of each window, for a machine without a screen
    bool help = false;
    bool version = false;
};

struct HostOptionsResult
{
    std::optional<HostOptions> options;
    QString error; // for the clerk or the script that called us; set when options is empty
};

// arguments[0] is the program, as in QCoreApplication::arguments(). Needs no application object,
// so that help, version and mistakes are answered on a machine without a display.
HostOptionsResult ParseHostOptions(const QStringList &arguments);

QString HostUsage();

// The name the host fills in for the clerk: the login name in upper case, as the suite's users
// are named, from USER, else LOGNAME.
QString DefaultUserName(const QString &user, const QString &logName);

// Whether a database URL names one of the backends the component knows. Caught here so that a
// bare file path gets a usage message instead of an error box in the first window.
bool IsDatabaseUrl(const QString &url);

// The message shown under the case box for text that is not a case number.
QString CaseNumberProblem(const QString &text);
