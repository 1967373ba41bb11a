// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace moravelt {

// A table as the game reads it: the columns it reads by name, and how many columns a
// "SELECT *" row must have for the reads by position.
struct ReadTable
{
    QString name;
    QStringList columns;
    int columnCount = 0;
};

// The five tables of the map database, in the order they are checked.
const std::vector<ReadTable>& tablesTheGameReads();

// The columns of a table in their order, or nothing when the file has no such table.
using ColumnLister = std::function<std::optional<QStringList>(const QString& table)>;

// Stops at the first table or column the game would miss: throws MoraveltError naming the
// file, the table and the column. Jet compares names without case, SQLite's results keep
// the declared spelling, which the game then reads exactly.
void checkMapSchema(const QString& file, const ColumnLister& columnsOf,
                    Qt::CaseSensitivity nameCase);

// The start of every message about the map file: its name and where it is.
QString mapFileNamed(const QString& file);

} // namespace moravelt
