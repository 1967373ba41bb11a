// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace moravelt {

// Bounds that keep one route search within the machine: a far pair at the best precision
// has millions of routes, and a large map more than any list can hold.
struct SearchLimits
{
    // Routes the route list keeps. Once that many are found the search goes on, and the
    // list keeps the ones that come first in its text order (the shortest).
    std::int64_t maxRoutes = 1'000'000;
    // States of the search's table of what each partial route can still reach, set up
    // before the first step; a few thousand on real maps.
    std::int64_t maxStates = 4'000'000;
    // What one search may hold: its table (each state with an entry per road leaving its
    // town), the batches of routes it gives out with their places in the list, and the walk's
    // own stacks. The game with its map and pictures takes about 130 MB besides. A full list
    // of long routes (a hundred legs) needs about this much alone, so such a search may stop
    // here before its list is full.
    std::size_t memoryBudget = std::size_t(128) << 20;
    // Computing time of the whole search, not counting the time a question waits.
    std::chrono::milliseconds timeBudget{60'000};
};

} // namespace moravelt
