// SPDX-License-Identifier: MIT

#pragma once

#include "landpolygon.h"

#include <QPointF>
#include <vector>

namespace moravelt {

// How much of the straight line between two places runs over land, for lines that stand for
// a sea route. Points are longitude (x) and latitude (y), as the land polygons are.
class LandCrossing
{
public:
    explicit LandCrossing(const std::vector<LandPolygon>& land) : m_land(land) {}

    // The share of points along the line that lie on land, from 0 to 1. The tenth at each
    // end is left out: a town stands inland of its port.
    double landShare(const QPointF& from, const QPointF& to) const;
    // Inside a polygon's outline and in none of its holes.
    bool isLand(const QPointF& point) const;

private:
    const std::vector<LandPolygon>& m_land;
};

} // namespace moravelt
