// SPDX-License-Identifier: MIT

#include "testmapdb.h"

#include "base/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace moravelt::test {

void TestMap::road(const QString& a, const QString& b, double km)
{
    roads.push_back({a, b, km});
    roads.push_back({b, a, km});
}

namespace {

void exec(QSqlQuery& query, const QString& sql, const QVariantList& values = {})
{
    query.prepare(sql);
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw MoraveltError(sql + QStringLiteral(": ") + query.lastError().text());
}

void insertAll(QSqlQuery& query, const QString& table, int columns,
               const std::vector<QVariantList>& rows)
{
    QStringList marks;
    for (int i = 0; i < columns; ++i)
        marks << QStringLiteral("?");
    const QString sql =
        QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(QLatin1Char(',')));
    for (const QVariantList& row : rows)
        exec(query, sql, row);
}

} // namespace

TestMapDb::TestMapDb(const TestMap& map)
{
    const QString name = QStringLiteral("moravelt-test-writer");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(fileName());
        if (!db.open())
            throw MoraveltError(db.lastError().text());
        QSqlQuery query(db);
        // A throwaway file: waiting for the disk buys nothing.
        exec(query, QStringLiteral("PRAGMA synchronous = OFF"));
        // One transaction: committing every row on its own waits for the disk each time.
        db.transaction();
        for (const QString& sql : Schema::createStatements())
            exec(query, sql);
        insertAll(query, QStringLiteral("tbl_座標"), 3, map.towns);
        insertAll(query, QStringLiteral("tbl_距離"), 3, map.roads);
        insertAll(query, QStringLiteral("tbl_隠距"), 4, map.hidden);
        insertAll(query, QStringLiteral("tbl_隠れ"), 2, map.events);
        insertAll(query, QStringLiteral("tbl_Quiz"), 6, map.quizzes);
        for (const QString& sql : Schema::indexStatements())
            exec(query, sql);
        if (!db.commit())
            throw MoraveltError(db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void failWhenRead(const TestMapDb& db, const QString& table, const QString& town)
{
    const QString name = QStringLiteral("moravelt-test-breaker");
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        writer.setDatabaseName(db.fileName());
        if (!writer.open())
            throw MoraveltError(writer.lastError().text());
        const QSqlRecord record = writer.record(table);
        QStringList columns;
        for (int i = 0; i < record.count(); ++i)
            columns << record.fieldName(i);
        QString quoted = town;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        // abs() of the smallest integer is an integer overflow, raised as the town's row is
        // read; it stands in the last column, so a search by the first still finds other rows.
        columns.last() = QStringLiteral("CASE WHEN %1 = '%2' THEN abs(-9223372036854775807 - 1 "
                                        "+ 0 * length(%1)) ELSE %3 END AS %3")
                             .arg(columns.first(), quoted, columns.last());
        QSqlQuery query(writer);
        exec(query, QStringLiteral("ALTER TABLE %1 RENAME TO %1_rows").arg(table));
        exec(query, QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %1_rows")
                        .arg(table, columns.join(QStringLiteral(", "))));
        writer.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString TestMapDb::connectionString() const
{
    return MapDatabase::connectionString(folder());
}

} // namespace moravelt::test
