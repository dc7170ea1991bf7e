#include "StatementHook.h"

#include <QLoggingCategory>

namespace {

QString prefix;
int left = 0;
std::function<void()> action;
QtMessageHandler previous = nullptr;

void Handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!context.category || qstrcmp(context.category, "zorva.sql") != 0) {
        if (previous)
            previous(type, context, message);
    } else if (message.startsWith(prefix) && --left == 0) {
        action();
    }
}

} // namespace

StatementHook::StatementHook(const char *text, int nth, std::function<void()> run)
{
    prefix = QLatin1String(text);
    left = nth;
    action = std::move(run);
    QLoggingCategory::setFilterRules(QStringLiteral("zorva.sql.debug=true"));
    previous = qInstallMessageHandler(&Handle);
}

StatementHook::~StatementHook()
{
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    action = {};
}
