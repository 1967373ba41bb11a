// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/mapdatabase.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"
#include "testmapdb.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <algorithm>
#include <vector>

namespace moravelt::test {

// A one-way road row.
inline void oneWay(TestMap& map, const QString& from, const QString& to, const QVariant& km)
{
    map.roads.push_back({from, to, km});
}

// Every ordered pair of the towns joined by a road of the given length.
inline TestMap completeMap(const QStringList& towns, double km = 1.0)
{
    TestMap map;
    for (const QString& from : towns) {
        for (const QString& to : towns) {
            if (from != to)
                oneWay(map, from, to, km);
        }
    }
    return map;
}

// A test map written, opened and read into a road graph.
struct LoadedMap
{
    explicit LoadedMap(const TestMap& map)
        : db(map), cn(db.connectionString()), graph(RoadGraph::load(cn))
    {
    }
    TestMapDb db;
    MapDatabase cn;
    RoadGraph graph;
};

// Every step of a search, answering Yes throughout.
inline std::vector<SearchStep> allSteps(RouteSearch& search, int maxSteps = 1000)
{
    std::vector<SearchStep> steps;
    while (!search.isOver() && int(steps.size()) < maxSteps)
        steps.push_back(search.step());
    return steps;
}

// What the route list keeps of a search's steps: the first `keep` routes in text order.
inline QStringList firstInTextOrder(const std::vector<SearchStep>& steps, qsizetype keep)
{
    QStringList all;
    for (const SearchStep& step : steps)
        all << step.routes.texts();
    std::sort(all.begin(), all.end());
    return all.mid(0, keep);
}

// Runs a statement on a written test map, for data the game must survive (a missing table).
inline bool alterMap(const TestMapDb& db, const QString& sql)
{
    const QString name = QStringLiteral("moravelt-test-alter");
    bool ok = false;
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        writer.setDatabaseName(db.fileName());
        ok = writer.open() && QSqlQuery(writer).exec(sql);
        writer.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace moravelt::test
