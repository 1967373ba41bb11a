// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/recordset.h"
#include "mapdb/sqltext.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <memory>

class QTemporaryDir;

namespace moravelt {

// The connection to the map database ("Cn"), the file named by the connection string's
// "Data Source". An SQLite 3 file is opened immutable: read-only, and nothing is ever created
// beside it. A Jet 3 or Jet 4 file is read by the Jet reader in a child process (JetReader)
// into an SQLite copy in a private temporary folder, which is opened the same way and goes
// with the connection; the Jet file is only ever read. Either way every table and column the
// game reads is checked first, and every town name must fit in a route string.
class MapDatabase
{
public:
    // The connection string the load sequence builds from the program's folder.
    static QString connectionString(const QString& folderWithSeparator);
    // The same for a map file anywhere; the path is quoted when it holds a ";" or a quote.
    static QString connectionStringForFile(const QString& file);
    // The "Data Source" value of a connection string, unquoted, or an empty text.
    static QString dataSource(const QString& connectionString);

    // Opens the database; throws MoraveltError naming the file and the reason, and for a
    // missing table or column, the table and the column, and for town names a route string
    // cannot carry, the first few names.
    explicit MapDatabase(const QString& connectionString);
    ~MapDatabase();
    MapDatabase(const MapDatabase&) = delete;
    MapDatabase& operator=(const MapDatabase&) = delete;

    // Runs one query and reads its whole result; throws MoraveltError on failure.
    RecordsetPtr open(const SqlText& sql) const;

    const QString& fileName() const { return m_fileName; }
    // For QSqlDatabase::cloneDatabase: another thread reads through its own connection.
    const QString& connectionName() const { return m_connectionName; }

private:
    void openSqlite(const QString& file);
    void openJet();
    QSqlQuery& prepared(const QString& text) const;

    QString m_connectionName;
    // The game sends a handful of query texts over and over (one per pointer move); each is
    // prepared once.
    mutable QHash<QString, std::shared_ptr<QSqlQuery>> m_prepared;
    QString m_fileName;
    // The private folder of a Jet file's SQLite copy, removed after the connection.
    std::unique_ptr<QTemporaryDir> m_jetCopy;
};

} // namespace moravelt
