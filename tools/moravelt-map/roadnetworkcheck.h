// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "townindex.h"

namespace moravelt {

// Roads join known visible towns, run both ways with the same length, and join every
// visible town to all the others.
class RoadNetworkCheck
{
public:
    RoadNetworkCheck(const TownIndex& index, Diagnostics& diag) : m_index(index), m_diag(diag) {}

    void run(const WorldData& world);

private:
    void checkEnds(const WorldRoad& road);
    void checkBothWays(const WorldData& world);
    void checkReachable(const WorldData& world);

    const TownIndex& m_index;
    Diagnostics& m_diag;
};

} // namespace moravelt
