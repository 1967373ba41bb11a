// SPDX-License-Identifier: MIT

#pragma once

namespace moravelt {

// Registers the route list taking this many routes in the given number of batches.
void registerRouteListBenchmark(int routes, int batches);

} // namespace moravelt
