#include "TraceCapture.h"

#include <QLoggingCategory>

namespace {
QStringList entries;
QtMessageHandler previous = nullptr;

void Handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && qstrcmp(context.category, "zorva.sql") == 0)
        entries << message;
    else if (previous)
        previous(type, context, message);
}
} // namespace

TraceCapture::TraceCapture()
{
    entries.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("zorva.sql.debug=true"));
    previous = qInstallMessageHandler(Handler);
}

TraceCapture::~TraceCapture()
{
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
}

const QStringList &TraceCapture::Entries() const { return entries; }
