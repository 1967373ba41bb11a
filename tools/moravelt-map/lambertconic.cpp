// SPDX-License-Identifier: MIT

#include "lambertconic.h"

#include <cmath>
#include <numbers>

namespace moravelt {

namespace {

constexpr double earthRadiusKm = 6371.0;

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double halfTan(double phi)
{
    return std::tan(std::numbers::pi / 4 + phi / 2);
}

} // namespace

LambertConic::LambertConic(double parallel1, double parallel2, double centralMeridian,
                           double originLat)
    : m_lon0(radians(centralMeridian))
{
    const double p1 = radians(parallel1);
    const double p2 = radians(parallel2);
    m_n = std::log(std::cos(p1) / std::cos(p2)) / std::log(halfTan(p2) / halfTan(p1));
    m_f = std::cos(p1) * std::pow(halfTan(p1), m_n) / m_n;
    m_rho0 = radiusAt(originLat);
}

double LambertConic::radiusAt(double lat) const
{
    return earthRadiusKm * m_f / std::pow(halfTan(radians(lat)), m_n);
}

QPointF LambertConic::project(double lat, double lon) const
{
    const double rho = radiusAt(lat);
    const double theta = m_n * (radians(lon) - m_lon0);
    return {rho * std::sin(theta), m_rho0 - rho * std::cos(theta)};
}

} // namespace moravelt
