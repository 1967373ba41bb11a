// SPDX-License-Identifier: MIT

#include "jetimport.h"

#include "base/moravelterror.h"
#include "jetcolumncheck.h"
#include "jetfile.h"
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

[[noreturn]] void damaged(const JetFile& jet, const QString& what)
{
    throw MoraveltError(QStringLiteral("%1は壊れているか、対応していない Jet ファイルです: %2")
                            .arg(mapFileNamed(jet.path()), what));
}

// A table or column the game needs that is missing while another one a character away is
// there, and is none the game reads under that name: a damaged byte has changed its name.
void checkDamagedNames(const JetFile& jet)
{
    QStringList gameTables;
    for (const ReadTable& table : tablesTheGameReads())
        gameTables << table.name;
    for (const ReadTable& table : tablesTheGameReads()) {
        const std::optional<QStringList> columns = jet.columnNames(table.name);
        if (!columns) {
            for (const QString& other : jet.tableNames()) {
                if (!gameTables.contains(other, Qt::CaseInsensitive) &&
                    oneCharacterApart(other, table.name))
                    damaged(jet, QStringLiteral("表の一覧（カタログ）の表%1は、名前が壊れた「%2」"
                                                "と見られます。")
                                     .arg(shownName(other), table.name));
            }
            continue;
        }
        for (const QString& wanted : table.columns) {
            if (columns->contains(wanted, Qt::CaseInsensitive))
                continue;
            for (const QString& column : *columns) {
                if (!table.columns.contains(column, Qt::CaseInsensitive) &&
                    oneCharacterApart(column, wanted))
                    damaged(jet,
                            QStringLiteral("表「%1」の列%2は、名前が壊れた「%3」と見られます。")
                                .arg(table.name, shownName(column), wanted));
            }
        }
    }
}

// Every column of the five tables has a type Jet knows, laid out as that type is, and the
// columns the game reads as numbers or names hold numbers or texts.
void checkColumnTypes(const JetFile& jet)
{
    for (const ReadTable& table : tablesTheGameReads()) {
        const std::vector<JetFile::Column> columns = jet.columns(table.name).value();
        for (const JetFile::Column& column : columns) {
            const QString fault = jetColumnFault(table.name, column, columnUse(column.name));
            if (!fault.isEmpty())
                damaged(jet, fault);
        }
    }
}

} // namespace

std::vector<int> JetImport::copy(const JetFile& jet, QSqlDatabase& db, Nulls nulls)
{
    checkDamagedNames(jet);
    checkMapSchema(
        jet.path(), [&jet](const QString& table) { return jet.columnNames(table); },
        Qt::CaseInsensitive);
    checkColumnTypes(jet);

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
