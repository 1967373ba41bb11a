// SPDX-License-Identifier: MIT

#include "benchworld.h"
#include "routelistbench.h"
#include "searchbench.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace moravelt;

namespace {

BenchWorld& sampleWorld()
{
    return BenchWorld::sample();
}
BenchWorld& towns1000()
{
    return BenchWorld::generated(1000);
}
BenchWorld& towns10000()
{
    return BenchWorld::generated(10000);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerSampleWorldBenchmarks();
    registerCompleteMapBenchmarks();
    registerLargestStepBenchmark();
    registerCancelBenchmark();
    registerGeneratedBenchmarks(towns1000, "towns:1000");
    registerGeneratedBenchmarks(towns10000, "towns:10000");
    registerRoadLoadBenchmark(sampleWorld, "sample");
    registerRoadLoadBenchmark(towns10000, "towns:10000");
    registerRouteListBenchmark(100'000, 1);
    registerRouteListBenchmark(100'000, 10);
    registerRouteListBenchmark(1'000'000, 1);
    registerRouteListBenchmark(1'000'000, 10);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
