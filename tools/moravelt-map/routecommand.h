// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// moravelt-map route --db FILE [--level N] [--steps K] DEPARTURE DESTINATION
// Runs the game's route search answering Yes to every question and prints, for each step
// that found routes, "step K" and the new route strings, then how the search ended.
int runRouteCommand(const QStringList& args);

} // namespace moravelt
