#include "KeptStatements.h"

#include "Connection.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

KeptStatements::KeptStatements(QObject *driver) : QObject(driver) {}

KeptStatements::~KeptStatements() = default;

QSqlQuery *KeptStatements::Of(const QSqlDatabase &db, const QString &text, QString *error)
{
    QSqlDriver *driver = db.driver();
    auto *kept = driver->findChild<KeptStatements *>(QString(), Qt::FindDirectChildrenOnly);
    if (!kept)
        kept = new KeptStatements(driver);
    for (const Kept &k : kept->m_kept) {
        if (k.text == text)
            return k.query.get();
    }
    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    if (!query->prepare(text)) {
        *error = Connection::FailureText(db, query->lastError());
        return nullptr;
    }
    kept->m_kept.push_back({text, std::move(query)});
    return kept->m_kept.back().query.get();
}

void KeptStatements::Drop(const QSqlDatabase &db)
{
    if (db.driver())
        delete db.driver()->findChild<KeptStatements *>(QString(), Qt::FindDirectChildrenOnly);
}
