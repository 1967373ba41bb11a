// SPDX-License-Identifier: MIT

#include "benchworld.h"

#include "japanlikemap.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <deque>
#include <map>
#include <vector>

namespace moravelt {

BenchWorld::BenchWorld(QString name, const QString& connectionString)
    : m_name(std::move(name)), m_cn(std::make_unique<MapDatabase>(connectionString)),
      m_graph(RoadGraph::load(*m_cn))
{
    pickFarApartTowns();
}

BenchWorld::BenchWorld(const test::TestMap& map, QString name)
    : m_db(std::make_unique<test::TestMapDb>(map)), m_name(std::move(name)),
      m_cn(std::make_unique<MapDatabase>(m_db->connectionString())), m_graph(RoadGraph::load(*m_cn))
{
    pickFarApartTowns();
}

BenchWorld& BenchWorld::sample()
{
    static std::unique_ptr<BenchWorld> world = [] {
        const QString file =
            qEnvironmentVariable("MORAVELT_SAMPLE_DB", QStringLiteral(MORAVELT_SAMPLE_DB));
        if (QFileInfo(file).isFile()) {
            QString folder = QFileInfo(file).absolutePath() + QLatin1Char('/');
            auto sample = std::unique_ptr<BenchWorld>(new BenchWorld(
                QStringLiteral("sample world"), MapDatabase::connectionString(folder)));
            if (sample->graph().townCount() > 1)
                return sample;
        }
        return std::unique_ptr<BenchWorld>(
            new BenchWorld(japanLikeMap(150, 150), QStringLiteral("generated 150 towns")));
    }();
    return *world;
}

BenchWorld& BenchWorld::generated(int towns)
{
    static std::map<int, std::unique_ptr<BenchWorld>> worlds;
    std::unique_ptr<BenchWorld>& world = worlds[towns];
    if (!world)
        world.reset(new BenchWorld(japanLikeMap(towns, quint32(towns)),
                                   QStringLiteral("generated %1 towns").arg(towns)));
    return *world;
}

BenchWorld& BenchWorld::complete(int towns)
{
    static std::map<int, std::unique_ptr<BenchWorld>> worlds;
    std::unique_ptr<BenchWorld>& world = worlds[towns];
    if (!world) {
        test::TestMap map;
        QRandomGenerator random{quint32(towns)};
        const auto name = [](int i) { return QStringLiteral("町%1").arg(i); };
        for (int i = 0; i < towns; ++i)
            map.towns.push_back({name(i), 100 + 10 * (i % 40), 100 + 10 * (i / 40)});
        for (int a = 0; a < towns; ++a) {
            for (int b = a + 1; b < towns; ++b)
                map.road(name(a), name(b), 1 + random.bounded(500));
        }
        world.reset(new BenchWorld(map, QStringLiteral("complete %1 towns").arg(towns)));
    }
    return *world;
}

std::pair<int, int> farApart(const RoadGraph& graph)
{
    // Two sweeps of a breadth-first walk.
    const auto farthest = [&graph](int from) {
        std::vector<int> legs(std::size_t(graph.townCount()), -1);
        std::deque<int> queue{from};
        legs[std::size_t(from)] = 0;
        int last = from;
        while (!queue.empty()) {
            last = queue.front();
            queue.pop_front();
            for (const RoadGraph::Road& road : graph.roadsFrom(last)) {
                if (legs[std::size_t(road.to)] < 0) {
                    legs[std::size_t(road.to)] = legs[std::size_t(last)] + 1;
                    queue.push_back(road.to);
                }
            }
        }
        return last;
    };
    if (graph.townCount() == 0)
        return {0, 0};
    const int a = farthest(0);
    return {a, farthest(a)};
}

void BenchWorld::pickFarApartTowns()
{
    if (m_graph.townCount() == 0)
        return;
    const auto [a, b] = farApart(m_graph);
    m_departure = m_graph.townName(a);
    m_destination = m_graph.townName(b);
}

} // namespace moravelt
