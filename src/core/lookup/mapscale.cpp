// SPDX-License-Identifier: MIT

#include "lookup/mapscale.h"

#include <algorithm>

namespace moravelt {

double MapScale::factor(int level)
{
    return 1.0 / double(denominator(level));
}

int MapScale::clamp(int level)
{
    return std::clamp(level, kFull, kSmallest);
}

int MapScale::fromStored(const QVariant& stored)
{
    bool ok = false;
    const int value = stored.toString().trimmed().toInt(&ok);
    for (int level = kFull; ok && level <= kSmallest; ++level) {
        if (denominator(level) == value)
            return level;
    }
    return kFull;
}

} // namespace moravelt
