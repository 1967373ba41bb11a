// SPDX-License-Identifier: MIT

// 旅クイズ: what starting a journey costs (its cards planned from the sample world, a route
// of five towns and three hidden towns, or ten towns drawn at random), what a finished
// journey's record costs to write (one transaction, waiting for the disk), and reading the
// records window's two tables from a file of many records.
#include "mapdb/mapdatabase.h"
#include "quiz/journeyplanner.h"
#include "quiz/scorestore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace moravelt;

namespace {

const MapDatabase& sample()
{
    static const MapDatabase cn(MapDatabase::connectionStringForFile(
        QFileInfo(qEnvironmentVariable("MORAVELT_SAMPLE_DB", QStringLiteral(MORAVELT_SAMPLE_DB)))
            .absoluteFilePath()));
    return cn;
}

ScoreRecord record(int n)
{
    return {QDateTime::currentDateTime(),
            QStringLiteral("00161-京都-奈良-橿原-堺-和歌山"),
            n % 100,
            100,
            n % 6,
            5,
            60 + n % 300,
            quint32(n)};
}

void BM_PlanRoute(benchmark::State& state)
{
    const JourneyPlanner planner(sample());
    quint32 seed = 0;
    for (auto _ : state) {
        JourneyPlan plan = planner.along(QStringLiteral("00161-京都-奈良-橿原-堺-和歌山"), ++seed);
        benchmark::DoNotOptimize(plan);
    }
}

void BM_PlanRandom(benchmark::State& state)
{
    const JourneyPlanner planner(sample());
    quint32 seed = 0;
    for (auto _ : state) {
        JourneyPlan plan = planner.random(++seed);
        benchmark::DoNotOptimize(plan);
    }
}

void BM_RecordAdd(benchmark::State& state)
{
    const QTemporaryDir dir;
    ScoreStore store(dir.filePath(QStringLiteral("scores.sqlite")));
    int n = 0;
    for (auto _ : state)
        store.add(record(n++));
}

void BM_RecordsRead(benchmark::State& state)
{
    const QTemporaryDir dir;
    ScoreStore store(dir.filePath(QStringLiteral("scores.sqlite")));
    for (int n = 0; n < state.range(0); ++n)
        store.add(record(n));
    for (auto _ : state) {
        auto best = store.best(10);
        auto latest = store.latest(10);
        benchmark::DoNotOptimize(best);
        benchmark::DoNotOptimize(latest);
    }
}

} // namespace

BENCHMARK(BM_PlanRoute)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanRandom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordAdd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsRead)->Arg(1000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
