// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/mapdatabase.h"
#include "navi/roadgraph.h"
#include "testmapdb.h"

#include <QString>
#include <memory>
#include <utility>

namespace moravelt {

// Two towns far apart by legs: the town farthest from the town farthest from the first one.
// Both are 0 on a map without roads.
std::pair<int, int> farApart(const RoadGraph& graph);

// A map to measure on, opened like the game opens it, with two towns far apart by road.
class BenchWorld
{
public:
    // The sample world when its database has roads, else a generated 150-town map.
    static BenchWorld& sample();
    // A generated map of this many towns, built once.
    static BenchWorld& generated(int towns);
    // Every two of this many towns joined both ways by a road of 1 to 500 km, built once.
    static BenchWorld& complete(int towns);

    const QString& name() const { return m_name; }
    const MapDatabase& cn() const { return *m_cn; }
    const RoadGraph& graph() const { return m_graph; }
    const QString& departure() const { return m_departure; }
    const QString& destination() const { return m_destination; }

private:
    BenchWorld(QString name, const QString& connectionString);
    explicit BenchWorld(const test::TestMap& map, QString name);
    void pickFarApartTowns();

    std::unique_ptr<test::TestMapDb> m_db;
    QString m_name;
    std::unique_ptr<MapDatabase> m_cn;
    RoadGraph m_graph;
    QString m_departure;
    QString m_destination;
};

} // namespace moravelt
