// SPDX-License-Identifier: MIT

#pragma once

#include "townplacer.h"
#include "worlddata.h"

#include <QString>

namespace moravelt {

// Writes the game's map database: the tables of the game's schema, filled in the order of
// the data files, the towns' readings beside them, then the indexes. Throws MoraveltError.
class MapDbWriter
{
public:
    // path must not exist yet.
    static void write(const QString& path, const WorldData& world,
                      const std::vector<PlacedTown>& towns);
};

} // namespace moravelt
