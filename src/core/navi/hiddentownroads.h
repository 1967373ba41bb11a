// SPDX-License-Identifier: MIT

#pragma once

#include "navi/townpaircheck.h"

namespace moravelt {

class MapDatabase;

namespace HiddenTownRoads {

// The names that the roads do not know and that are hidden towns, each with the roads it
// lies on ("tbl_隠距"), one entry per pair of towns whichever way the rows run, in the
// rows' order. A hidden town known only by its event ("tbl_隠れ") has no road. Throws
// MoraveltError on a failed query.
TownPairCheck::HiddenRoads read(const MapDatabase& map, const RoadGraph& graph,
                                const QStringList& names);

} // namespace HiddenTownRoads
} // namespace moravelt
