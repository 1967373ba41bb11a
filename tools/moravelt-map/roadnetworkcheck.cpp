// SPDX-License-Identifier: MIT

#include "roadnetworkcheck.h"

#include <QHash>
#include <QList>
#include <algorithm>

namespace moravelt {

namespace {

QString roadKey(const QString& from, const QString& to)
{
    return from + QChar(0x2192) + to;
}

} // namespace

void RoadNetworkCheck::run(const WorldData& world)
{
    for (const WorldRoad& road : world.roads)
        checkEnds(road);
    checkBothWays(world);
    checkReachable(world);
}

void RoadNetworkCheck::checkEnds(const WorldRoad& road)
{
    for (const QString& end : {road.from, road.to}) {
        const WorldTown* town = m_index.find(end);
        if (!town)
            m_diag.error(road.at, QStringLiteral("unknown town \"%1\"").arg(end));
        else if (town->hidden)
            m_diag.error(
                road.at,
                QStringLiteral("\"%1\" is a hidden town; roads join visible towns").arg(end));
    }
    if (road.from == road.to)
        m_diag.error(road.at,
                     QStringLiteral("the road leads from \"%1\" to itself").arg(road.from));
}

void RoadNetworkCheck::checkBothWays(const WorldData& world)
{
    QHash<QString, const WorldRoad*> byKey;
    for (const WorldRoad& road : world.roads) {
        const QString key = roadKey(road.from, road.to);
        if (const WorldRoad* first = byKey.value(key, nullptr))
            m_diag.error(road.at, QStringLiteral("duplicate road %1 (first at line %2)")
                                      .arg(key)
                                      .arg(first->at.line));
        else
            byKey.insert(key, &road);
    }
    for (const WorldRoad& road : world.roads) {
        if (byKey.value(roadKey(road.from, road.to)) != &road)
            continue;
        const WorldRoad* back = byKey.value(roadKey(road.to, road.from), nullptr);
        if (!back) {
            m_diag.error(
                road.at,
                QStringLiteral("one-way road: no row %1").arg(roadKey(road.to, road.from)));
            continue;
        }
        // Each pair is reported once, at its later row.
        if (back->at.line > road.at.line)
            continue;
        if (road.km >= 0 && back->km >= 0 && road.km != back->km)
            m_diag.error(road.at,
                         QStringLiteral("one-way road: %1 has %2 km but line %3 says %4 km")
                             .arg(roadKey(road.from, road.to))
                             .arg(road.km)
                             .arg(back->at.line)
                             .arg(back->km));
        if (road.ferry != back->ferry)
            m_diag.error(
                road.at,
                QStringLiteral("種別 differs from the return row at line %1").arg(back->at.line));
    }
}

void RoadNetworkCheck::checkReachable(const WorldData& world)
{
    // Components of the road graph over visible towns; the largest one is the world.
    QHash<QString, QList<QString>> next;
    for (const WorldRoad& road : world.roads) {
        if (m_index.isVisible(road.from) && m_index.isVisible(road.to)) {
            next[road.from] << road.to;
            next[road.to] << road.from;
        }
    }
    QHash<QString, int> component;
    QList<int> sizes;
    for (const WorldTown& town : world.towns) {
        if (town.hidden || component.contains(town.name))
            continue;
        const int id = int(sizes.size());
        QList<QString> queue{town.name};
        component.insert(town.name, id);
        for (qsizetype i = 0; i < queue.size(); ++i) {
            for (const QString& other : next.value(queue[i])) {
                if (!component.contains(other)) {
                    component.insert(other, id);
                    queue << other;
                }
            }
        }
        sizes << int(queue.size());
    }
    if (sizes.size() < 2)
        return;
    const int main = int(std::max_element(sizes.begin(), sizes.end()) - sizes.begin());
    QString mainTown;
    for (const WorldTown& town : world.towns) {
        if (!town.hidden && component.value(town.name) == main) {
            mainTown = town.name;
            break;
        }
    }
    for (const WorldTown& town : world.towns) {
        if (!town.hidden && m_index.find(town.name) == &town && component.value(town.name) != main)
            m_diag.error(town.at, QStringLiteral("\"%1\" cannot be reached by road from \"%2\"")
                                      .arg(town.name, mainTown));
    }
}

} // namespace moravelt
