// SPDX-License-Identifier: MIT

#include "landpainter.h"

#include "mapstyle.h"

#include <QPainterPath>
#include <cmath>

namespace moravelt {

void LandPainter::drawGraticule(const QRectF& lonLat, double step) const
{
    m_painter.setPen(QPen(MapStyle::graticule, std::max(0.5, 1.2 * m_scale)));
    m_painter.setBrush(Qt::NoBrush);
    constexpr double fine = 0.25; // degrees between the points of a curved parallel
    for (double lat = std::ceil(lonLat.top() / step) * step; lat <= lonLat.bottom(); lat += step) {
        QPolygonF line;
        for (double lon = lonLat.left(); lon <= lonLat.right() + 1e-9; lon += fine)
            line << m_project(lat, lon);
        m_painter.drawPolyline(line);
    }
    for (double lon = std::ceil(lonLat.left() / step) * step; lon <= lonLat.right(); lon += step) {
        QPolygonF line;
        for (double lat = lonLat.top(); lat <= lonLat.bottom() + 1e-9; lat += fine)
            line << m_project(lat, lon);
        m_painter.drawPolyline(line);
    }
}

void LandPainter::drawLand(const std::vector<LandPolygon>& land, const QRectF& lonLatWindow) const
{
    // Neighbours first, so Japan's coast lies on top where the two touch.
    for (bool japan : {false, true}) {
        m_painter.setBrush(japan ? MapStyle::japanLand : MapStyle::neighbourLand);
        m_painter.setPen(QPen(MapStyle::coast, std::max(0.4, MapStyle::coastWidth * m_scale)));
        for (const LandPolygon& polygon : land) {
            if (polygon.japan != japan || polygon.rings.isEmpty() ||
                !polygon.rings.first().boundingRect().intersects(lonLatWindow))
                continue;
            m_painter.drawPath(path(polygon));
        }
    }
}

QPainterPath LandPainter::path(const LandPolygon& polygon) const
{
    QPainterPath result;
    result.setFillRule(Qt::OddEvenFill);
    for (const QPolygonF& ring : polygon.rings) {
        QPolygonF projected;
        projected.reserve(ring.size());
        for (const QPointF& p : ring)
            projected << m_project(p.y(), p.x());
        result.addPolygon(projected);
        result.closeSubpath();
    }
    return result;
}

} // namespace moravelt
