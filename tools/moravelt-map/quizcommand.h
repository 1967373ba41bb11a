// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// moravelt-map quiz --db FILE [--seed N] [--answers] ROUTE
// Prints the 旅クイズ journey of a route string (or of "ランダム") as the game plays it with the
// seed: a first line "seed N", then one line per card.
int runQuizCommand(const QStringList& args);

} // namespace moravelt
