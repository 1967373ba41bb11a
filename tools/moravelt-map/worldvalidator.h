// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "worlddata.h"

namespace moravelt {

// Checks that the sample world keeps everything the game relies on: unique names, two-way
// roads joining every town, hidden towns on real roads with their events, one sound quiz
// per visible town, and a line in the notes for every long ferry.
class WorldValidator
{
public:
    explicit WorldValidator(Diagnostics& diag) : m_diag(diag) {}

    void validate(const WorldData& world);

private:
    void checkUniqueNames(const WorldData& world);

    Diagnostics& m_diag;
};

} // namespace moravelt
