// SPDX-License-Identifier: MIT

#pragma once

namespace moravelt {

// Runs the game: creates the main window, runs its load sequence, shows it and the event loop.
// Returns the process exit code; a start-up failure is reported and gives a non-zero code.
int runGame(int argc, char** argv);

} // namespace moravelt
