// SPDX-License-Identifier: MIT

#include "routelistbench.h"

#include "navilist/routelistmodel.h"
#include "peakmemory.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <string>

namespace moravelt {

namespace {

// Route strings as a long search lists them: a total, then five to fifteen towns.
QList<QStringList> routeBatches(int routes, int batches)
{
    QRandomGenerator random{quint32(routes)};
    QList<QStringList> all(batches);
    for (int i = 0; i < routes; ++i) {
        QString route = QString::number(random.bounded(100000)).rightJustified(5, u'0');
        const int towns = 5 + random.bounded(11);
        for (int t = 0; t < towns; ++t)
            route += QStringLiteral("-町%1").arg(random.bounded(150));
        all[i % batches] << route;
    }
    return all;
}

} // namespace

void registerRouteListBenchmark(int routes, int batches)
{
    const std::string name =
        "RouteList/routes:" + std::to_string(routes) + "/batches:" + std::to_string(batches);
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        const QList<QStringList> input = routeBatches(routes, batches);
        RouteListModel list;
        std::size_t bytes = 0;
        const PeakMemory peak;
        for (auto _ : state) {
            for (const QStringList& batch : input)
                list.addRoutes(batch);
            state.PauseTiming();
            bytes = list.memoryBytes();
            list.clear();
            state.ResumeTiming();
        }
        state.counters["list_MiB"] = double(bytes) / (1024.0 * 1024.0);
        state.counters["peak_rss_MiB"] = double(peak.growthBytes()) / (1024.0 * 1024.0);
    })->Unit(benchmark::kMillisecond);
}

} // namespace moravelt
