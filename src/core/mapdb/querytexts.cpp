// SPDX-License-Identifier: MIT

#include "mapdb/querytexts.h"

namespace moravelt::QueryTexts {

SqlText hitTest(float x, float y)
{
    // The bounds are single-precision values, as the pointer position is. Several towns in the
    // square come in the order the map maker wrote them; the caller takes the first.
    const float left = x - 90.0f;
    const float right = x + 90.0f;
    const float top = y - 90.0f;
    const float bottom = y + 90.0f;
    return {
        QStringLiteral("SELECT 地名 FROM tbl_座標 WHERE x BETWEEN ? AND ? AND y BETWEEN ? AND ? "
                       "ORDER BY rowid"),
        {double(left), double(right), double(top), double(bottom)}};
}

SqlText distances(const QString& town)
{
    return {QStringLiteral("SELECT * FROM tbl_距離 WHERE ( 出発地 = ?)"), {town}};
}

SqlText hiddenDistances(const QString& hiddenTown)
{
    return {QStringLiteral("SELECT 出発,目的地,隠れた街までの距離 FROM tbl_隠距 WHERE ( 隠れ = ?)"),
            {hiddenTown}};
}

SqlText hiddenEvent(const QString& hiddenTown)
{
    return {QStringLiteral("SELECT * FROM tbl_隠れ WHERE ( 隠れ = ?)"), {hiddenTown}};
}

SqlText quiz(const QString& town)
{
    return {QStringLiteral("SELECT * FROM tbl_Quiz WHERE ( 地名 = ?)"), {town}};
}

SqlText oneLeg(const QString& from, const QString& to)
{
    return {QStringLiteral("SELECT * FROM tbl_距離 WHERE ( 出発地 = ?) AND ( 目的地 = ?)"),
            {from, to}};
}

SqlText hiddenOnRoad(const QString& from)
{
    return {QStringLiteral("SELECT * FROM tbl_隠距 WHERE ( 出発 = ?) ORDER BY 隠れた街までの距離"),
            {from}};
}

SqlText allRoads()
{
    return {QStringLiteral("SELECT 出発地, 目的地, km FROM tbl_距離"), {}};
}

SqlText townPlaces()
{
    return {QStringLiteral("SELECT 地名, x, y FROM tbl_座標 ORDER BY rowid"), {}};
}

SqlText townNames()
{
    // A hidden town is one with an event or one lying on a road, as the panels tell them.
    return {
        QStringLiteral("SELECT 地名 FROM tbl_座標 WHERE 地名 NOT IN (SELECT 隠れ FROM tbl_隠れ) "
                       "AND 地名 NOT IN (SELECT 隠れ FROM tbl_隠距) ORDER BY rowid"),
        {}};
}

SqlText tableExists(const QString& table)
{
    return {QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"),
            {table}};
}

SqlText readings()
{
    return {QStringLiteral("SELECT 地名, 読み FROM tbl_読み"), {}};
}

SqlText quizTowns()
{
    return {
        QStringLiteral("SELECT DISTINCT 地名 FROM tbl_Quiz WHERE 地名 IS NOT NULL AND 地名 <> '' "
                       "ORDER BY 地名"),
        {}};
}

SqlText scoresQuickCheck()
{
    return {QStringLiteral("PRAGMA quick_check"), {}};
}

SqlText scoresTables()
{
    return {QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                           "'sqlite%'"),
            {}};
}

SqlText scoresCreate()
{
    return {QStringLiteral("CREATE TABLE tbl_記録 (日時 TEXT NOT NULL, ルート TEXT NOT NULL, "
                           "得点 INTEGER NOT NULL, 満点 INTEGER NOT NULL, 正解数 INTEGER NOT NULL, "
                           "問題数 INTEGER NOT NULL, 秒 INTEGER NOT NULL, シード INTEGER)"),
            {}};
}

SqlText scoreInsert(const QVariantList& row)
{
    return {QStringLiteral(
                "INSERT INTO tbl_記録 (日時, ルート, 得点, 満点, 正解数, 問題数, 秒, シード) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            row};
}

SqlText scoresBest(int limit)
{
    return {
        QStringLiteral("SELECT 日時, ルート, 得点, 満点, 正解数, 問題数, 秒, シード FROM tbl_記録 "
                       "ORDER BY 得点 DESC, 秒 ASC, rowid ASC LIMIT ?"),
        {limit}};
}

SqlText scoresLatest(int limit)
{
    return {
        QStringLiteral("SELECT 日時, ルート, 得点, 満点, 正解数, 問題数, 秒, シード FROM tbl_記録 "
                       "ORDER BY rowid DESC LIMIT ?"),
        {limit}};
}

SqlText scoresBestOfRoute(const QString& route)
{
    return {QStringLiteral("SELECT max(得点) FROM tbl_記録 WHERE ルート = ?"), {route}};
}

SqlText namesRoutesCannotCarry()
{
    // Every column that names a town or a hidden town. The filter (one GLOB with the
    // characters bound: "-" last in the class stands for itself) runs before the names are
    // made distinct, so a sound map costs one pass over each column.
    return {QStringLiteral(
                "SELECT DISTINCT n FROM (SELECT 地名 AS n FROM tbl_座標 "
                "UNION ALL SELECT 出発地 FROM tbl_距離 UNION ALL SELECT 目的地 FROM tbl_距離 "
                "UNION ALL SELECT 出発 FROM tbl_隠距 UNION ALL SELECT 目的地 FROM tbl_隠距 "
                "UNION ALL SELECT 隠れ FROM tbl_隠距 UNION ALL SELECT 隠れ FROM tbl_隠れ) "
                "WHERE n GLOB ? ORDER BY n"),
            {QStringLiteral("*[+\t\r\n-]*")}};
}

} // namespace moravelt::QueryTexts
