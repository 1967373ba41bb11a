// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "landpolygon.h"
#include "maplayout.h"
#include "townplacer.h"
#include "worlddata.h"

#include <memory>

namespace moravelt {

// Everything `check` does and `build` starts with: read the data folder, validate it, place
// its towns on the picture of the given layout and, when a file is named, read the land.
struct WorldCheck
{
    std::unique_ptr<WorldData> world; // placed towns point into it
    std::vector<PlacedTown> placed;
    std::vector<LandPolygon> land;
    Diagnostics diag;

    static WorldCheck run(const QString& dataDir, const MapLayout& layout,
                          const QString& coastFile = {});

    int visibleTowns() const;
    int hiddenTowns() const;
    // One line about what was read, for the tools' success message.
    QString summary() const;
};

} // namespace moravelt
