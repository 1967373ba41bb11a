// SPDX-License-Identifier: MIT

#include "searchbench.h"

#include "benchworld.h"
#include "bfsroutesearch.h"
#include "navi/routebatch.h"
#include "navi/routesearch.h"
#include "navilist/routelistmodel.h"
#include "peakmemory.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace moravelt {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const char* endName(SearchStop stop)
{
    switch (stop) {
    case SearchStop::MemoryBudget:
        return "memory budget";
    case SearchStop::TimeBudget:
        return "time budget";
    case SearchStop::Cancelled:
        return "cancelled";
    case SearchStop::StateCap:
        return "state cap";
    case SearchStop::None:
        break;
    }
    return "ended by itself";
}

std::vector<int> hopsFrom(const RoadGraph& graph, int from)
{
    std::vector<int> legs(std::size_t(graph.townCount()), -1);
    std::deque<int> queue{from};
    legs[std::size_t(from)] = 0;
    while (!queue.empty()) {
        const int town = queue.front();
        queue.pop_front();
        for (const RoadGraph::Road& road : graph.roadsFrom(town)) {
            if (legs[std::size_t(road.to)] < 0) {
                legs[std::size_t(road.to)] = legs[std::size_t(town)] + 1;
                queue.push_back(road.to);
            }
        }
    }
    return legs;
}

struct Pair
{
    QString departure;
    QString destination;
};

// The pairs farthest apart by legs, one direction each, 石垣 → 知床 first when the map has it.
std::vector<Pair> farthestPairs(const RoadGraph& graph, std::size_t count)
{
    struct Candidate
    {
        int legs;
        int from;
        int to;
    };
    std::vector<Candidate> all;
    for (int from = 0; from < graph.townCount(); ++from) {
        const std::vector<int> legs = hopsFrom(graph, from);
        for (int to = 0; to < graph.townCount(); ++to) {
            if (legs[std::size_t(to)] > 0 && from < to)
                all.push_back({legs[std::size_t(to)], from, to});
        }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Candidate& a, const Candidate& b) { return a.legs > b.legs; });
    std::vector<Pair> pairs;
    const QString ishigaki = QStringLiteral("石垣");
    const QString shiretoko = QStringLiteral("知床");
    if (graph.townId(ishigaki) >= 0 && graph.townId(shiretoko) >= 0)
        pairs.push_back({ishigaki, shiretoko});
    for (const Candidate& c : all) {
        if (pairs.size() >= count)
            break;
        Pair pair{graph.townName(c.from), graph.townName(c.to)};
        if (pair.departure == shiretoko || pair.destination == shiretoko)
            std::swap(pair.departure, pair.destination); // toward the far north-east
        const bool known = std::any_of(pairs.begin(), pairs.end(), [&](const Pair& p) {
            return (p.departure == pair.departure && p.destination == pair.destination) ||
                   (p.departure == pair.destination && p.destination == pair.departure);
        });
        if (!known)
            pairs.push_back(pair);
    }
    return pairs;
}

// The search as the game runs it, every question answered Yes, each step's routes sorted
// and listed.
void runSearch(benchmark::State& state, const RoadGraph& graph, const Pair& pair, int level)
{
    for (auto _ : state) {
        const PeakMemory peak;
        const auto start = Clock::now();
        RouteSearch search(graph, pair.departure, pair.destination, level);
        RouteListModel list;
        double firstRoute = -1;
        double largestStep = 0;
        double largestListing = 0; // the part the window's thread does
        std::int64_t routes = 0;
        SearchStep step;
        while (!search.isOver()) {
            const auto stepStart = Clock::now();
            step = search.step();
            // Sorted and merged on the worker, as the game does; then listed.
            step.routes.sortTextOrder();
            routes += step.routes.size();
            if (firstRoute < 0 && step.found())
                firstRoute = secondsSince(start);
            RouteListModel::Merge merge = list.startMerge();
            merge.prepare(std::make_shared<const RouteBatch>(std::move(step.routes)), nullptr,
                          SearchLimits{}.maxRoutes);
            const auto listStart = Clock::now();
            list.addRoutes(std::move(merge));
            largestListing = std::max(largestListing, secondsSince(listStart));
            largestStep = std::max(largestStep, secondsSince(stepStart));
        }
        const double whole = secondsSince(start);
        state.SetIterationTime(whole);
        state.counters["routes"] = double(routes);
        state.counters["listed"] = double(list.count());
        state.counters["steps"] = double(search.nextStepIndex());
        state.counters["states"] = double(search.stateCount());
        state.counters["walked"] = double(search.expandedTotal());
        state.counters["first_route_ms"] = firstRoute < 0 ? -1 : firstRoute * 1000;
        state.counters["largest_step_ms"] = largestStep * 1000;
        state.counters["largest_listing_ms"] = largestListing * 1000;
        state.counters["list_MiB"] = double(list.memoryBytes()) / kMiB;
        state.counters["peak_rss_MiB"] = double(peak.growthBytes()) / kMiB;
        state.SetLabel(endName(step.stop));
    }
}

// The breadth-first search that was replaced, bounded by its 4,000,000 partial routes.
void runBfs(benchmark::State& state, const RoadGraph& graph, const Pair& pair, int level)
{
    for (auto _ : state) {
        const PeakMemory peak;
        const auto start = Clock::now();
        test::BfsRouteSearch search(graph, pair.departure, pair.destination, level);
        std::int64_t routes = 0;
        bool capped = false;
        while (!search.isOver()) {
            const test::BfsRouteSearch::Step step = search.step();
            routes += step.routes.size();
            capped = step.capped;
        }
        state.SetIterationTime(secondsSince(start));
        state.counters["routes"] = double(routes);
        state.counters["peak_rss_MiB"] = double(peak.growthBytes()) / kMiB;
        state.SetLabel(capped ? "partial route cap" : "ended by itself");
    }
}

void registerPair(const std::string& prefix, BenchWorld& (*world)(), const Pair& pair, int level)
{
    const std::string key = prefix + "/" + pair.departure.toStdString() + "-" +
                            pair.destination.toStdString() + "/level:" + std::to_string(level);
    benchmark::RegisterBenchmark(
        ("Search/" + key).c_str(),
        [=](benchmark::State& state) { runSearch(state, world().graph(), pair, level); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark(
        ("Bfs/" + key).c_str(),
        [=](benchmark::State& state) { runBfs(state, world().graph(), pair, level); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
}

BenchWorld& sampleWorld()
{
    return BenchWorld::sample();
}

} // namespace

void registerSampleWorldBenchmarks()
{
    for (const Pair& pair : farthestPairs(BenchWorld::sample().graph(), 10)) {
        for (int level = 0; level <= 4; ++level)
            registerPair("sample", sampleWorld, pair, level);
    }
}

void registerGeneratedBenchmarks(BenchWorld& (*world)(), const char* worldKey)
{
    const Pair far{world().departure(), world().destination()};
    registerPair(worldKey, world, far, 0);
    registerPair(worldKey, world, far, 4);
    // A pair three legs apart: what the player of a large map asks most often.
    const RoadGraph& graph = world().graph();
    const std::vector<int> legs = hopsFrom(graph, graph.townId(far.departure));
    const auto three = std::find(legs.begin(), legs.end(), 3);
    if (three != legs.end())
        registerPair(worldKey, world, {far.departure, graph.townName(int(three - legs.begin()))},
                     4);
}

void registerCompleteMapBenchmarks()
{
    // Dense maps: every town one leg from every other, so the level-4 table holds states of
    // many windows, each with a road to every town.
    for (const int towns : {60, 100, 150}) {
        benchmark::RegisterBenchmark(
            ("Search/complete:" + std::to_string(towns) + "/level:4").c_str(),
            [towns](benchmark::State& state) {
                BenchWorld& world = BenchWorld::complete(towns);
                runSearch(state, world.graph(), {world.departure(), world.destination()}, 4);
            })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
    }
}

void registerLargestStepBenchmark()
{
    benchmark::RegisterBenchmark(
        "LargestStep/sample/level:4",
        [](benchmark::State& state) {
            const Pair pair = farthestPairs(BenchWorld::sample().graph(), 1).front();
            for (auto _ : state) {
                // No route cap, so that the whole of the largest step is walked.
                SearchLimits unbounded;
                unbounded.maxRoutes = std::int64_t(1) << 30;
                RouteSearch search(BenchWorld::sample().graph(), pair.departure, pair.destination,
                                   4, unbounded);
                double largest = 0;
                std::int64_t routes = 0;
                while (!search.isOver()) {
                    const auto start = Clock::now();
                    const SearchStep step = search.step();
                    const double spent = secondsSince(start);
                    if (spent > largest) {
                        largest = spent;
                        routes = step.routes.size();
                    }
                }
                state.SetIterationTime(largest);
                state.counters["routes"] = double(routes);
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);
}

void registerCancelBenchmark()
{
    // What the game's worker does in a step (walk, then sort the step's routes), stopped
    // after `delay` ms from another thread: the time from the stop to the worker's return.
    // The far pair of 10,000 generated towns: with its long-distance ferries no level-4
    // search of the sample world lasts even 50 ms, so it would stop nothing.
    for (const int delay : {5, 50, 300, 600}) {
        benchmark::RegisterBenchmark(
            ("CancelLatency/towns:10000/level:4/after_ms:" + std::to_string(delay)).c_str(),
            [=](benchmark::State& state) {
                BenchWorld& world = BenchWorld::generated(10000);
                const Pair pair{world.departure(), world.destination()};
                double worst = 0;
                for (auto _ : state) {
                    std::atomic<bool> stop{false};
                    RouteSearch search(world.graph(), pair.departure, pair.destination, 4,
                                       SearchLimits{}, &stop);
                    std::thread worker([&] {
                        while (!search.isOver() && !stop.load()) {
                            SearchStep step = search.step();
                            if (!step.routes.sortTextOrder(&stop))
                                break;
                        }
                    });
                    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                    const auto stopped = Clock::now();
                    stop = true;
                    worker.join();
                    const double latency = secondsSince(stopped);
                    worst = std::max(worst, latency);
                    state.SetIterationTime(latency);
                }
                state.counters["worst_ms"] = worst * 1000.0;
            })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
    }
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
