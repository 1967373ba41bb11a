// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>

namespace moravelt {

// Lambert conformal conic projection on a sphere: latitude and longitude in degrees to
// kilometres east (x) and north (y) of the origin.
class LambertConic
{
public:
    LambertConic(double parallel1, double parallel2, double centralMeridian, double originLat);

    QPointF project(double lat, double lon) const;

private:
    double radiusAt(double lat) const;

    double m_n;
    double m_f;
    double m_rho0;
    double m_lon0;
};

} // namespace moravelt
