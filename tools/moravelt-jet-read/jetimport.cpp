// SPDX-License-Identifier: MIT

#include "mapdb/jetimport.h"

#include "base/moravelterror.h"
#include "mapdb/jetfile.h"
#include "mapdb/mapschemacheck.h"
#include "mapdb/schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace moravelt {

namespace {

void exec(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        throw MoraveltError(QStringLiteral("地図データベースを作れません: %1: %2")
                                .arg(sql, query.lastError().text()));
}

// Where each column of the target table comes from in the Jet table: the column of the same
// name (Jet ignores case), else the one at the same place (the quiz's question and points are
// read by place).
std::vector<int> sourceColumns(const QStringList& target, const QStringList& source)
{
    std::vector<int> from;
    for (int i = 0; i < target.size(); ++i) {
        int found = i < source.size() ? i : -1;
        for (int j = 0; j < source.size(); ++j) {
            if (source[j].compare(target[i], Qt::CaseInsensitive) == 0) {
                found = j;
                break;
            }
        }
        from.push_back(found);
    }
    return from;
}

QStringList columnsOf(const QSqlDatabase& db, const QString& table)
{
    const QSqlRecord record = db.record(table);
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

int copyTable(const JetFile& jet, const QString& table, QSqlDatabase& db)
{
    const QStringList target = columnsOf(db, table);
    const std::vector<int> from = sourceColumns(target, jet.columnNames(table).value());
    QStringList marks;
    for (qsizetype i = 0; i < target.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery insert(db);
    const QString sql =
        QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(QLatin1Char(',')));
    if (!insert.prepare(sql))
        throw MoraveltError(QStringLiteral("地図データベースを作れません: %1: %2")
                                .arg(sql, insert.lastError().text()));
    int rows = 0;
    jet.readRows(table, [&](const QVariantList& values) {
        for (std::size_t i = 0; i < from.size(); ++i)
            insert.bindValue(int(i), from[i] >= 0 ? values.value(from[i]) : QVariant());
        ++rows;
        if (!insert.exec())
            throw MoraveltError(QStringLiteral("%1の表「%2」の %3 行目を写せません: %4")
                                    .arg(mapFileNamed(jet.path()), table)
                                    .arg(rows)
                                    .arg(insert.lastError().text()));
    });
    return rows;
}

} // namespace

std::vector<int> JetImport::copy(const JetFile& jet, QSqlDatabase& db, Nulls nulls)
{
    checkMapSchema(
        jet.path(), [&jet](const QString& table) { return jet.columnNames(table); },
        Qt::CaseInsensitive);

    QSqlQuery query(db);
    if (!db.transaction())
        throw MoraveltError(
            QStringLiteral("地図データベースを作れません: %1").arg(db.lastError().text()));
    for (QString sql : Schema::createStatements()) {
        if (nulls == Nulls::Keep)
            sql.remove(QStringLiteral(" NOT NULL"));
        exec(query, sql);
    }
    std::vector<int> rows;
    for (const ReadTable& table : tablesTheGameReads())
        rows.push_back(copyTable(jet, table.name, db));
    for (const QString& sql : Schema::indexStatements())
        exec(query, sql);
    if (!db.commit())
        throw MoraveltError(
            QStringLiteral("地図データベースを作れません: %1").arg(db.lastError().text()));
    exec(query, QStringLiteral("ANALYZE"));
    return rows;
}

} // namespace moravelt
