// SPDX-License-Identifier: MIT

#pragma once

#include "landpolygon.h"

#include <QPainter>
#include <functional>
#include <vector>

namespace moravelt {

// Draws land and the lines of latitude and longitude of one frame of the picture.
class LandPainter
{
public:
    using Projector = std::function<QPointF(double lat, double lon)>;

    LandPainter(QPainter& painter, Projector project, double scale)
        : m_painter(painter), m_project(std::move(project)), m_scale(scale)
    {
    }

    // Lines every `step` degrees across a longitude/latitude rectangle.
    void drawGraticule(const QRectF& lonLat, double step) const;
    // Polygons whose outline misses the longitude/latitude window are skipped.
    void drawLand(const std::vector<LandPolygon>& land, const QRectF& lonLatWindow) const;

private:
    QPainterPath path(const LandPolygon& polygon) const;

    QPainter& m_painter;
    Projector m_project;
    double m_scale;
};

} // namespace moravelt
