// SPDX-License-Identifier: MIT

#pragma once

namespace moravelt {

class BenchWorld;

// The route search on the sample world's pairs farthest apart by legs, at every level, with
// the breadth-first search it replaced measured beside it in the same run.
void registerSampleWorldBenchmarks();
// The far pair of a generated map at levels 0 and 4, and a pair three legs apart at level 4.
void registerGeneratedBenchmarks(BenchWorld& (*world)(), const char* worldKey);
// Complete maps of 60, 100 and 150 towns at level 4: memory on dense maps.
void registerCompleteMapBenchmarks();
// The walk of the largest step of the sample world's farthest pair at level 4.
void registerLargestStepBenchmark();
// A step of a long search stopped from another thread: how long until the worker returns.
void registerCancelBenchmark();
void registerRoadLoadBenchmark(BenchWorld& (*world)(), const char* worldKey);

} // namespace moravelt
