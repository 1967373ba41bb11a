// SPDX-License-Identifier: MIT

#include "mapview/routeoverlay.h"

#include <QPainter>
#include <QPolygonF>

namespace moravelt {

namespace {

constexpr double kReach = RouteOverlay::kMarkRadius + 2.0; // marks and pen around a point

QRectF around(QPointF a, QPointF b)
{
    return QRectF(a, b).normalized().adjusted(-kReach, -kReach, kReach, kReach);
}

void mark(QPainter& painter, QPointF at, const QColor& fill)
{
    painter.setPen(QPen(Qt::white, 2.5));
    painter.setBrush(fill);
    painter.drawEllipse(at, RouteOverlay::kMarkRadius, RouteOverlay::kMarkRadius);
}

} // namespace

const QColor RouteOverlay::kLineColour(130, 40, 210, 170);

void RouteOverlay::setPoints(std::vector<QPointF> pixels)
{
    m_points = std::move(pixels);
    QRectF box;
    for (std::size_t i = 0; i < m_points.size(); ++i)
        box |= around(m_points[i], m_points[i]);
    m_bounds = box.toAlignedRect();
}

void RouteOverlay::paint(QPainter& painter, const QRect& exposed) const
{
    if (m_points.empty() || !exposed.intersects(m_bounds))
        return;
    painter.save();
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kLineColour, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Consecutive legs that reach the exposed part go out as one polyline, so the
    // translucent line does not darken where they join.
    const QRectF area(exposed);
    QPolygonF run;
    const auto flush = [&] {
        if (run.size() > 1)
            painter.drawPolyline(run);
        run.clear();
    };
    for (std::size_t i = 1; i < m_points.size(); ++i) {
        if (!around(m_points[i - 1], m_points[i]).intersects(area)) {
            flush();
            continue;
        }
        if (run.isEmpty())
            run << m_points[i - 1];
        run << m_points[i];
    }
    flush();
    if (m_points.size() > 1)
        mark(painter, m_points.back(), QColor(200, 20, 40));
    mark(painter, m_points.front(), QColor(20, 140, 70));
    painter.restore();
}

} // namespace moravelt
