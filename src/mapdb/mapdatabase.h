#pragma once

#include "mapdb/recordset.h"
#include "mapdb/sqltext.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <memory>

namespace moravelt {

// The connection to the map database ("Cn"). The file is an SQLite 3 database named by the
// connection string's "Data Source" and opened read-only: the game never writes the map.
class MapDatabase
{
public:
    // The connection string the load sequence builds from the program's folder.
    static QString connectionString(const QString& folderWithSeparator);
    // The "Data Source" part of a connection string, or an empty text.
    static QString dataSource(const QString& connectionString);

    // Opens the database; throws MoraveltError naming the file and the reason.
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
    QSqlQuery& prepared(const QString& text) const;

    QString m_connectionName;
    // The game sends a handful of query texts over and over (one per pointer move); each is
    // prepared once.
    mutable QHash<QString, std::shared_ptr<QSqlQuery>> m_prepared;
    QString m_fileName;
};

} // namespace moravelt
