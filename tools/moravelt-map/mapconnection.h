// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

// The connection string for a map file named on the command line, SQLite or Jet, so every
// command opens it exactly as the game opens "mapdata.mdb".
QString mapConnectionString(const QString& path);

} // namespace moravelt
