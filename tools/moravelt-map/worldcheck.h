#pragma once

#include "diagnostics.h"
#include "maplayout.h"
#include "townplacer.h"
#include "worlddata.h"

#include <memory>

namespace moravelt {

// Everything `check` does and `build` starts with: read the data folder, validate it and
// place its towns on the picture of the given layout.
struct WorldCheck
{
    std::unique_ptr<WorldData> world; // placed towns point into it
    std::vector<PlacedTown> placed;
    Diagnostics diag;

    static WorldCheck run(const QString& dataDir, const MapLayout& layout);

    int visibleTowns() const;
    int hiddenTowns() const;
    // One line about what was read, for the tools' success message.
    QString summary() const;
};

} // namespace moravelt
