#include "StatementHook.h"

#include <QLoggingCategory>
#include <gtest/gtest.h>

namespace {
StatementHook *active = nullptr;
QtMessageHandler previous = nullptr;
} // namespace

struct StatementHookAccess
{
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (!context.category || qstrcmp(context.category, "zorva.sql") != 0) {
            if (previous)
                previous(type, context, message);
            return;
        }
        StatementHook *hook = active;
        if (!hook || !message.startsWith(hook->m_prefix))
            return;
        if (++hook->m_seen == hook->m_nth && !hook->m_fired) {
            hook->m_fired = true;
            hook->m_action();
        }
    }
};

StatementHook::StatementHook(const QString &prefix, int nth, std::function<void()> action)
    : m_prefix(prefix), m_nth(nth), m_action(std::move(action))
{
    EXPECT_EQ(active, nullptr) << "one statement hook at a time";
    active = this;
    QLoggingCategory::setFilterRules(QStringLiteral("zorva.sql.debug=true"));
    previous = qInstallMessageHandler(&StatementHookAccess::Handle);
}

StatementHook::~StatementHook()
{
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    active = nullptr;
}
