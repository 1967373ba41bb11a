// SPDX-License-Identifier: MIT

#pragma once

#include <QVariant>

namespace moravelt {

// The map's zoom levels: level 0 shows the picture at its own size, each level after it at half
// the size of the one before, down to one eighth, where the whole sample map fits a window of
// about 640 × 560 pixels. Kept outside "Moravelt.ini" as the scale's denominator (1, 2, 4, 8).
class MapScale
{
public:
    static constexpr int kLevels = 4;
    static constexpr int kFull = 0;
    static constexpr int kSmallest = kLevels - 1;

    // 1, 1/2, 1/4, 1/8.
    static double factor(int level);
    static int clamp(int level);
    static int denominator(int level) { return 1 << clamp(level); }
    // The level a stored denominator names; anything else (missing, damaged) is 1:1.
    static int fromStored(const QVariant& stored);
};

} // namespace moravelt
