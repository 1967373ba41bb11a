// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "worlddata.h"

namespace moravelt {

// A long ferry is checked against its operator's route: the map makers' notes keep a line
// for each one, naming both of its towns and its km, so that a km changed in roads.tsv
// without the notes (or the reverse) is caught.
class FerrySourceCheck
{
public:
    explicit FerrySourceCheck(Diagnostics& diag) : m_diag(diag) {}

    void run(const WorldData& world);

    // Whether one line of the notes names the ferry: both towns and "KM km" (1,066 or 1066).
    static bool namesFerry(const QString& line, const WorldRoad& road);

private:
    Diagnostics& m_diag;
};

} // namespace moravelt
