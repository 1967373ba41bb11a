// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "landpolygon.h"

#include <QString>
#include <vector>

namespace moravelt {

// The committed land extract, a plain text file small enough to keep in the repository:
//   "polygon J|N COUNTRY" starts a polygon (J drawn as Japan, N as a neighbour),
//   "ring" starts a ring, then one "LONGITUDE LATITUDE" line a point; "#" lines are notes.
class CoastlineFile
{
public:
    // Throws MoraveltError naming the file and line of a fault.
    static std::vector<LandPolygon> read(const QString& path);
    // Reports the first fault with its file and line and returns no land.
    static std::vector<LandPolygon> read(const QString& path, Diagnostics& diag);
    // Writes atomically; throws MoraveltError.
    static void write(const QString& path, const std::vector<LandPolygon>& polygons,
                      const QStringList& notes);
};

} // namespace moravelt
