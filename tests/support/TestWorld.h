#pragma once

#include <QString>
#include <QTemporaryDir>

#include "QtPrinters.h"

// A fresh world for one test: its own SQLite court database (with the schema), its own
// settings folder and application data folder. Nothing touches the user's real files.
class TestWorld
{
public:
    TestWorld();
    ~TestWorld();

    QString Path(const QString &name) const { return m_dir.filePath(name); }
    QString DatabaseFile() const { return Path(QStringLiteral("court.db")); }
    QString DatabaseUrl() const { return QStringLiteral("sqlite:") + DatabaseFile(); }

    // Lays the repository's reference tables (data/*.XML) into a client tables folder of this
    // world and points ZORVA_PROGRAM_FILES at it; returns that folder.
    QString InstallReferenceTables() const;

    // A folder on loan since 01/05/2026, as an earlier clerk recorded it.
    void Lend(int year, const QString &type, int sequence, const QString &party) const;

    // Runs statements straight against the file (a second, independent connection), for
    // arranging rows and reading them back without going through the code under test.
    void Exec(const QString &statement) const;
    QVariant Scalar(const QString &query) const;
    QList<QVariantList> Rows(const QString &query) const;

private:
    QTemporaryDir m_dir;
};
