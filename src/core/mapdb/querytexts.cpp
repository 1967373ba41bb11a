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
