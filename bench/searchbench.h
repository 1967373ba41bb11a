#pragma once

namespace moravelt {

class BenchWorld;

// Registers the baseline and the in-memory search on one world and level, in that order,
// so that the second can report how many times faster it is.
void registerSearchBenchmarks(BenchWorld& (*world)(), const char* worldKey, int level);
void registerRoadLoadBenchmark(BenchWorld& (*world)(), const char* worldKey);

} // namespace moravelt
