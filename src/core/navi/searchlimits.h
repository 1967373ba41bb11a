// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <cstdint>

namespace moravelt {

// Bounds that keep one route search within the machine: a far pair at the best precision
// has millions of routes, and a large map more than any list can hold.
struct SearchLimits
{
    // Routes found in one search; each becomes a line of the route list.
    std::int64_t maxRoutes = 1'000'000;
    // States of the search's table of what each partial route can still reach, set up
    // before the first step; a few thousand on real maps.
    std::int64_t maxStates = 4'000'000;
    // Computing time of the whole search, not counting the time a question waits.
    std::chrono::milliseconds timeBudget{60'000};
};

} // namespace moravelt
