// SPDX-License-Identifier: MIT

// The ten shortest routes between far-apart towns of the sample world and of generated maps
// of 10,000 and 100,000 towns, beside the step-wise route search at level 0 on the same
// towns; the ten shortest on complete maps whose roads are all 0 km, where every route ties;
// and one frame of a drag with a route drawn over the picture.
#include "benchworld.h"
#include "japanlikemap.h"
#include "lookup/townplaces.h"
#include "mapdb/recordset.h"
#include "mapview/mapimage.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"
#include "navi/shortestroutes.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <deque>
#include <map>

using namespace moravelt;

namespace {

struct World
{
    QString name;
    RoadGraph graph;
    QString departure;
    QString destination;
};

// Generated maps go straight into memory: the algorithms read the graph, not the database.
// A negative count is the same map with one road of 0 km, which takes the exact spurs.
const World& world(int key)
{
    const int towns = std::abs(key);
    static std::map<int, World> worlds;
    auto found = worlds.find(key);
    if (found != worlds.end())
        return found->second;
    World w;
    if (towns == 0) {
        const BenchWorld& sample = BenchWorld::sample();
        w = {sample.name(), sample.graph(), sample.departure(), sample.destination()};
    } else {
        test::TestMap map = japanLikeMap(towns, quint32(towns));
        w.name = QStringLiteral("generated %1 towns").arg(towns);
        if (key < 0) {
            map.roads.front()[2] = 0.0;
            w.name += QStringLiteral(", one road 0 km");
        }
        w.graph = RoadGraph::fromRecordset(Recordset(
            {QStringLiteral("出発地"), QStringLiteral("目的地"), QStringLiteral("km")}, map.roads));
        const auto [a, b] = farApart(w.graph);
        w.departure = w.graph.townName(a);
        w.destination = w.graph.townName(b);
    }
    return worlds.emplace(key, std::move(w)).first->second;
}

// Every town joined to every other by a road of 0 km.
const World& completeZeroKm(int towns)
{
    static std::map<int, World> worlds;
    auto found = worlds.find(towns);
    if (found != worlds.end())
        return found->second;
    std::vector<QVariantList> rows;
    for (int a = 0; a < towns; ++a) {
        for (int b = 0; b < towns; ++b) {
            if (a != b)
                rows.push_back({QStringLiteral("町%1").arg(a), QStringLiteral("町%1").arg(b), 0.0});
        }
    }
    World w;
    w.name = QStringLiteral("complete %1 towns, 0 km").arg(towns);
    w.graph = RoadGraph::fromRecordset(Recordset(
        {QStringLiteral("出発地"), QStringLiteral("目的地"), QStringLiteral("km")}, rows));
    w.departure = QStringLiteral("町0");
    w.destination = QStringLiteral("町%1").arg(towns - 1);
    return worlds.emplace(towns, std::move(w)).first->second;
}

void label(benchmark::State& state, const World& w)
{
    state.SetLabel(
        QStringLiteral("%1, %2 to %3").arg(w.name, w.departure, w.destination).toStdString());
}

void BM_ShortestRoutes(benchmark::State& state)
{
    const World& w = world(int(state.range(0)));
    QStringList routes;
    for (auto _ : state) {
        routes = ShortestRoutes::find(w.graph, w.departure, w.destination, ShortestRoutes::kCount);
        benchmark::DoNotOptimize(routes);
    }
    state.counters["routes"] = double(routes.size());
    state.counters["shortest_km"] = routes.first().section(u'-', 0, 0).toDouble();
    label(state, w);
}

void BM_ShortestRoutesZeroKm(benchmark::State& state)
{
    const World& w = completeZeroKm(int(state.range(0)));
    QStringList routes;
    for (auto _ : state) {
        routes = ShortestRoutes::find(w.graph, w.departure, w.destination, ShortestRoutes::kCount);
        benchmark::DoNotOptimize(routes);
    }
    state.counters["routes"] = double(routes.size());
    label(state, w);
}

// The step-wise search answering Yes after every step, up to its own bounds.
void BM_RouteSearchLevel0(benchmark::State& state)
{
    const World& w = world(int(state.range(0)));
    std::int64_t found = 0;
    for (auto _ : state) {
        RouteSearch search(w.graph, w.departure, w.destination, 0);
        while (!search.isOver())
            search.step();
        found = search.routesFound();
    }
    state.counters["routes"] = double(found);
    label(state, w);
}

// One frame of a drag over the sample world with its far ends' shortest route drawn.
void BM_PaintDragFrameWithRoute(benchmark::State& state)
{
    const bool withRoute = state.range(0) != 0;
    QImage picture(5000, 4400, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QWidget window;
    window.resize(449, 563);
    MapImage image(&window);
    image.setPicture(picture);
    const BenchWorld& sample = BenchWorld::sample();
    std::vector<QPointF> pixels;
    if (withRoute) {
        const QString route =
            ShortestRoutes::find(sample.graph(), sample.departure(), sample.destination(), 1)
                .first();
        pixels = TownPlaces::load(sample.cn()).routePoints(route);
        for (QPointF& p : pixels)
            p /= 15.0;
    }
    state.counters["route_towns"] = double(pixels.size());
    image.setRoute(std::move(pixels));
    QImage frame(window.size(), QImage::Format_RGB32);
    // Start where the route crosses the window, then drag across it.
    const QPointF start = image.route().isEmpty()
                              ? QPointF(1106, 1187)
                              : image.route().points()[image.route().points().size() / 2];
    float left = float(-(start.x() - 225) * 15);
    image.setTopTwips(float(-(start.y() - 280) * 15));
    for (auto _ : state) {
        left -= 15;
        image.setLeftTwips(left);
        window.render(&frame);
    }
}

} // namespace

BENCHMARK(BM_ShortestRoutes)
    ->Arg(0)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(-10'000)
    ->Arg(-100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortestRoutesZeroKm)->Arg(60)->Arg(100)->Arg(150)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RouteSearchLevel0)->Arg(0)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDragFrameWithRoute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
