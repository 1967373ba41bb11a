// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <cstdint>

namespace moravelt {

// Appends the platform's folder separator unless the path already ends in it, changing the
// caller's variable, and returns the result.
QString DirPathGet(QString& path);

// The desktop's usable area in pixels: left, top, and the right and bottom edges.
struct WorkArea
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// One coordinate by key, case-insensitive: "left", "top", "width" (the right edge) and
// "height" (the bottom edge); any other key gives 0.
std::int32_t workAreaValue(const WorkArea& area, const QString& key);

// The corrected top or left of a window: 0 when the stored coordinate lies before 0 or beyond
// the work area's far edge (pixels × 15), else unchanged.
float settingFrmCoordinate(float twips, std::int32_t farEdgePixels);

} // namespace moravelt
