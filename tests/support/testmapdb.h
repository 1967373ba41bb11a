// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <vector>

namespace moravelt::test {

// A tiny map database written into a temporary folder, with the game's own schema.
// Rows are inserted in the order given, which is the order the game reads them back.
struct TestMap
{
    std::vector<QVariantList> towns;   // 地名, x, y
    std::vector<QVariantList> roads;   // 出発地, 目的地, km
    std::vector<QVariantList> hidden;  // 出発, 目的地, 隠れ, 隠れた街までの距離
    std::vector<QVariantList> events;  // 隠れ, イベント
    std::vector<QVariantList> quizzes; // 地名, 問題, Ans1, Ans2, Ans3, 得点

    // Adds both directions of a road.
    void road(const QString& a, const QString& b, double km);
};

class TestMapDb
{
public:
    // Writes "mapdata.mdb" into a fresh temporary folder; throws on failure.
    explicit TestMapDb(const TestMap& map);

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString fileName() const { return folder() + QStringLiteral("mapdata.mdb"); }
    // The connection string the game builds for this folder.
    QString connectionString() const;

private:
    QTemporaryDir m_dir;
};

// Makes every query that reads the given town's rows of a table fail while it runs, as a
// damaged map would: the table becomes a view over its rows that raises an error for a row
// with that value in its first column. The map still opens, its tables and columns being whole. (An
// open map is immutable: changing the file afterwards would go unseen.)
void failWhenRead(const TestMapDb& db, const QString& table, const QString& town);

} // namespace moravelt::test
