#include "searchbench.h"

#include "baselinesearch.h"
#include "benchworld.h"
#include "mapdb/queryslots.h"
#include "navi/routesearch.h"
#include "peakmemory.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <map>
#include <string>

namespace moravelt {

namespace {

// The baseline sends a query per partial route; this many keep each run near a second.
constexpr std::int64_t kBaselineExpansions = 20'000;
constexpr double kMiB = 1024.0 * 1024.0;

std::map<std::string, double>& baselineRates()
{
    static std::map<std::string, double> rates;
    return rates;
}

// This thread's processor time: the rates are per core, whatever else the machine runs.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

const char* stopName(SearchStop stop, bool frontierEmpty)
{
    switch (stop) {
    case SearchStop::PartialRouteCap:
        return "partial route cap";
    case SearchStop::RouteCap:
        return "route cap";
    case SearchStop::TimeBudget:
        return "time budget";
    case SearchStop::Cancelled:
        return "cancelled";
    case SearchStop::None:
        break;
    }
    return frontierEmpty ? "frontier exhausted" : "running";
}

void runBaseline(benchmark::State& state, BenchWorld& world, int level, const std::string& key)
{
    QuerySlots rs(world.cn());
    std::int64_t expanded = 0;
    std::int64_t textBytes = 0;
    bool finished = false;
    const PeakMemory peak;
    double spent = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        BaselineSearch search(rs, world.departure(), world.destination(), level);
        while (!search.isOver())
            search.step(kBaselineExpansions);
        spent += cpuSeconds() - start;
        expanded += search.expanded();
        textBytes = std::max<std::int64_t>(textBytes, std::int64_t(search.textBytes()));
        finished = search.expanded() < kBaselineExpansions;
    }
    const double rate = double(expanded) / spent;
    baselineRates()[key] = rate;
    state.counters["expanded_per_s"] = rate;
    state.counters["expanded"] = double(expanded) / double(state.iterations());
    state.counters["text_MiB"] = double(textBytes) / kMiB;
    state.counters["peak_rss_MiB"] = double(peak.growthBytes()) / kMiB;
    state.SetLabel(QStringLiteral("%1, %2 to %3%4")
                       .arg(world.name(), world.departure(), world.destination(),
                            finished ? QString() : QStringLiteral(", first 20000 only"))
                       .toStdString());
}

void runSearch(benchmark::State& state, BenchWorld& world, int level, const std::string& key)
{
    std::int64_t expanded = 0;
    std::int64_t partial = 0;
    std::int64_t routes = 0;
    std::size_t memory = 0;
    const char* end = "";
    const PeakMemory peak;
    double spent = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        RouteSearch search(world.graph(), world.departure(), world.destination(), level);
        SearchStep step;
        while (!search.isOver()) {
            step = search.step();
            routes += step.routes.size();
        }
        spent += cpuSeconds() - start;
        expanded += search.expandedTotal();
        partial = search.partialRoutes();
        memory = search.memoryBytes() + world.graph().memoryBytes();
        end = stopName(step.stop, step.frontierEmpty);
    }
    const double rate = double(expanded) / spent;
    state.counters["expanded_per_s"] = rate;
    state.counters["expanded"] = double(expanded) / double(state.iterations());
    state.counters["partial_routes"] = double(partial);
    state.counters["routes"] = double(routes) / double(state.iterations());
    state.counters["search_MiB"] = double(memory) / kMiB;
    state.counters["peak_rss_MiB"] = double(peak.growthBytes()) / kMiB;
    const auto baseline = baselineRates().find(key);
    if (baseline != baselineRates().end())
        state.counters["x_baseline"] = rate / baseline->second;
    state.SetLabel(
        QStringLiteral("%1, %2 to %3, %4")
            .arg(world.name(), world.departure(), world.destination(), QString::fromLatin1(end))
            .toStdString());
}

} // namespace

void registerSearchBenchmarks(BenchWorld& (*world)(), const char* worldKey, int level)
{
    const std::string key = std::string(worldKey) + "/level:" + std::to_string(level);
    benchmark::RegisterBenchmark(
        ("Baseline/" + key).c_str(),
        [=](benchmark::State& state) { runBaseline(state, world(), level, key); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark(
        ("RouteSearch/" + key).c_str(),
        [=](benchmark::State& state) { runSearch(state, world(), level, key); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
}

void registerRoadLoadBenchmark(BenchWorld& (*world)(), const char* worldKey)
{
    benchmark::RegisterBenchmark(("RoadGraphLoad/" + std::string(worldKey)).c_str(),
                                 [=](benchmark::State& state) {
                                     BenchWorld& w = world();
                                     int towns = 0;
                                     for (auto _ : state)
                                         towns = RoadGraph::load(w.cn()).townCount();
                                     state.counters["towns"] = towns;
                                     state.counters["roads"] = w.graph().roadCount();
                                 })
        ->Unit(benchmark::kMillisecond);
}

} // namespace moravelt
