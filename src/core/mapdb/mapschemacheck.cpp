// SPDX-License-Identifier: MIT

#include "mapdb/mapschemacheck.h"

#include "base/moravelterror.h"

#include <QFileInfo>

namespace moravelt {

const std::vector<ReadTable>& tablesTheGameReads()
{
    // The quiz panel reads the question and the points at positions 1 and 5 of "SELECT *",
    // whatever they are called; the event panel reads position 1.
    static const std::vector<ReadTable> tables = {
        {QStringLiteral("tbl_座標"),
         {QStringLiteral("地名"), QStringLiteral("x"), QStringLiteral("y")},
         3},
        {QStringLiteral("tbl_距離"),
         {QStringLiteral("出発地"), QStringLiteral("目的地"), QStringLiteral("km")},
         3},
        {QStringLiteral("tbl_隠距"),
         {QStringLiteral("出発"), QStringLiteral("目的地"), QStringLiteral("隠れ"),
          QStringLiteral("隠れた街までの距離")},
         4},
        {QStringLiteral("tbl_隠れ"), {QStringLiteral("隠れ"), QStringLiteral("イベント")}, 2},
        {QStringLiteral("tbl_Quiz"),
         {QStringLiteral("地名"), QStringLiteral("Ans1"), QStringLiteral("Ans2"),
          QStringLiteral("Ans3")},
         6},
    };
    return tables;
}

QString mapFileNamed(const QString& file)
{
    return QStringLiteral("地図データベース「%1」（%2）").arg(QFileInfo(file).fileName(), file);
}

void checkMapSchema(const QString& file, const ColumnLister& columnsOf,
                    Qt::CaseSensitivity nameCase)
{
    for (const ReadTable& table : tablesTheGameReads()) {
        const std::optional<QStringList> columns = columnsOf(table.name);
        if (!columns)
            throw MoraveltError(
                QStringLiteral("%1に表「%2」がありません。").arg(mapFileNamed(file), table.name));
        for (const QString& column : table.columns) {
            if (!columns->contains(column, nameCase))
                throw MoraveltError(QStringLiteral("%1の表「%2」に列「%3」がありません。")
                                        .arg(mapFileNamed(file), table.name, column));
        }
        if (columns->size() < table.columnCount)
            throw MoraveltError(
                QStringLiteral("%1の表「%2」は列が %3 個しかありません（%4 個必要です）。")
                    .arg(mapFileNamed(file), table.name)
                    .arg(columns->size())
                    .arg(table.columnCount));
    }
}

} // namespace moravelt
