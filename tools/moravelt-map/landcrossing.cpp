// SPDX-License-Identifier: MIT

#include "landcrossing.h"

#include <algorithm>

namespace moravelt {

namespace {

bool inRing(const QPolygonF& ring, const QPointF& point)
{
    return ring.boundingRect().contains(point) && ring.containsPoint(point, Qt::OddEvenFill);
}

} // namespace

bool LandCrossing::isLand(const QPointF& point) const
{
    return std::any_of(m_land.begin(), m_land.end(), [&](const LandPolygon& polygon) {
        if (polygon.rings.isEmpty() || !inRing(polygon.rings.front(), point))
            return false;
        return std::none_of(polygon.rings.begin() + 1, polygon.rings.end(),
                            [&](const QPolygonF& hole) { return inRing(hole, point); });
    });
}

double LandCrossing::landShare(const QPointF& from, const QPointF& to) const
{
    constexpr int pieces = 32;
    int onLand = 0;
    for (int i = 0; i <= pieces; ++i) {
        const double t = 0.1 + 0.8 * i / pieces;
        onLand += isLand(from + (to - from) * t) ? 1 : 0;
    }
    return double(onLand) / (pieces + 1);
}

} // namespace moravelt
