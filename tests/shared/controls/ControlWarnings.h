#pragma once

#include <QStringList>
#include <QtGlobal>

// Warnings of the controls' log category, collected while it lives; other messages pass on.
class ControlWarnings
{
public:
    ControlWarnings()
    {
        s_lines.clear();
        s_previous = qInstallMessageHandler(&ControlWarnings::Handle);
    }
    ~ControlWarnings() { qInstallMessageHandler(s_previous); }
    QStringList Lines() const { return s_lines; }

private:
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg && context.category && qstrcmp(context.category, "zorva.controls") == 0)
            s_lines << message;
        else if (s_previous)
            s_previous(type, context, message);
    }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};
