#pragma once

#include <chrono>
#include <cstdint>

namespace moravelt {

// Bounds that keep one route search from running away: a step can triple the number of
// partial routes, and the higher precision levels grow them into the billions.
struct SearchLimits
{
    // Partial routes held at once; 16 bytes each, so the default stays near 64 MB.
    std::int64_t maxPartialRoutes = 4'000'000;
    // Routes found in one search; each becomes a line of the route list.
    std::int64_t maxRoutes = 200'000;
    // Computing time of the whole search, not counting the time a question waits.
    std::chrono::milliseconds timeBudget{60'000};
};

} // namespace moravelt
