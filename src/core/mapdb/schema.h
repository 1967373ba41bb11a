// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt::Schema {

// The five tables of "mapdata.mdb" as the game reads them. The map maker's tool creates
// exactly these, so the two sides cannot drift apart.
inline QStringList createStatements()
{
    return {
        QStringLiteral(
            "CREATE TABLE tbl_座標 (地名 TEXT NOT NULL, x REAL NOT NULL, y REAL NOT NULL)"),
        QStringLiteral(
            "CREATE TABLE tbl_距離 (出発地 TEXT NOT NULL, 目的地 TEXT NOT NULL, km REAL)"),
        QStringLiteral("CREATE TABLE tbl_隠距 (出発 TEXT NOT NULL, 目的地 TEXT NOT NULL, "
                       "隠れ TEXT NOT NULL, 隠れた街までの距離 REAL)"),
        QStringLiteral("CREATE TABLE tbl_隠れ (隠れ TEXT NOT NULL, イベント TEXT)"),
        QStringLiteral(
            "CREATE TABLE tbl_Quiz (地名 TEXT NOT NULL, 問題 TEXT, Ans1 TEXT, Ans2 TEXT, "
            "Ans3 TEXT, 得点 INTEGER)"),
    };
}

// How each town and hidden town is read, in hiragana, for finding a town by its sound. The
// game reads it when present and works the same without it.
inline QString readingsCreateStatement()
{
    return QStringLiteral("CREATE TABLE tbl_読み (地名 TEXT NOT NULL, 読み TEXT NOT NULL)");
}

// Covers the hit test: the square is found in the index without reading the table.
inline QString hitTestIndexStatement()
{
    return QStringLiteral("CREATE INDEX idx_座標_xy ON tbl_座標 (x, y, 地名)");
}

// Indexes for the game's lookups.
inline QStringList indexStatements()
{
    return {
        hitTestIndexStatement(),
        QStringLiteral("CREATE INDEX idx_距離_出発地 ON tbl_距離 (出発地)"),
        QStringLiteral("CREATE INDEX idx_隠距_出発 ON tbl_隠距 (出発, 隠れた街までの距離)"),
        QStringLiteral("CREATE INDEX idx_隠距_隠れ ON tbl_隠距 (隠れ)"),
        QStringLiteral("CREATE INDEX idx_隠れ_隠れ ON tbl_隠れ (隠れ)"),
        QStringLiteral("CREATE INDEX idx_Quiz_地名 ON tbl_Quiz (地名)"),
    };
}

} // namespace moravelt::Schema
