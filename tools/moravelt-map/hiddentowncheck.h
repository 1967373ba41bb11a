// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "townindex.h"

namespace moravelt {

// Hidden towns lie on roads that exist, within the road's length, and each has exactly one
// event; every event belongs to a hidden town. Along each road, from its start through its
// hidden towns to its end, no stretch is shorter than the straight line it spans.
class HiddenTownCheck
{
public:
    HiddenTownCheck(const TownIndex& index, Diagnostics& diag) : m_index(index), m_diag(diag) {}

    void run(const WorldData& world);

private:
    void checkLegs(const WorldData& world);
    void checkEvents(const WorldData& world);
    void checkEveryHiddenTown(const WorldData& world);
    void checkStretches(const WorldData& world);

    const TownIndex& m_index;
    Diagnostics& m_diag;
};

} // namespace moravelt
