// SPDX-License-Identifier: MIT

#include "mapview/routeoverlay.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <optional>

namespace moravelt {

namespace {

constexpr double kReach = RouteOverlay::kMarkRadius + 2.0; // marks and pen around a point

QRectF around(QPointF a, QPointF b)
{
    return QRectF(a, b).normalized().adjusted(-kReach, -kReach, kReach, kReach);
}

struct Piece
{
    QPointF from, to;
};

// The part of the leg a-b inside the rectangle, if any (Liang and Barsky's clipping).
std::optional<Piece> inside(QPointF a, QPointF b, const QRectF& r)
{
    double t0 = 0;
    double t1 = 1;
    const QPointF d = b - a;
    // Keeps the part where p × t <= q.
    const auto keep = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!keep(-d.x(), a.x() - r.left()) || !keep(d.x(), r.right() - a.x()) ||
        !keep(-d.y(), a.y() - r.top()) || !keep(d.y(), r.bottom() - a.y()))
        return std::nullopt;
    return Piece{t0 == 0 ? a : a + t0 * d, t1 == 1 ? b : a + t1 * d};
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
    place();
}

void RouteOverlay::setScale(double scale)
{
    m_scale = scale;
    place();
}

void RouteOverlay::place()
{
    m_drawn.clear();
    m_drawn.reserve(m_points.size());
    QRectF box;
    for (const QPointF& p : m_points) {
        m_drawn.push_back(p * m_scale);
        box |= around(m_drawn.back(), m_drawn.back());
    }
    m_bounds = box.toAlignedRect();
}

void RouteOverlay::paint(QPainter& painter, const QRect& exposed) const
{
    if (m_drawn.empty() || !exposed.intersects(m_bounds))
        return;
    painter.save();
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kLineColour, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Consecutive legs that reach the exposed part go out as one polyline, so the
    // translucent line does not darken where they join. Such a run is cut where its first leg
    // enters and its last leg leaves the exposed part with the pen's reach around it, so a long
    // leg over a thin strip of a drag costs no more than a short one; the cut ends lie outside
    // what is painted.
    const QRectF reach = QRectF(exposed).adjusted(-kReach, -kReach, kReach, kReach);
    QPolygonF run;
    std::optional<Piece> piece;
    std::optional<Piece> next =
        m_drawn.size() > 1 ? inside(m_drawn[0], m_drawn[1], reach) : std::nullopt;
    for (std::size_t i = 1; i < m_drawn.size(); ++i) {
        piece = next;
        next = i + 1 < m_drawn.size() ? inside(m_drawn[i], m_drawn[i + 1], reach) : std::nullopt;
        if (!piece)
            continue;
        if (run.isEmpty())
            run << piece->from;
        if (next) {
            run << m_drawn[i];
            continue;
        }
        run << piece->to;
        painter.drawPolyline(run);
        run.clear();
    }
    if (m_drawn.size() > 1)
        mark(painter, m_drawn.back(), QColor(200, 20, 40));
    mark(painter, m_drawn.front(), QColor(20, 140, 70));
    painter.restore();
}

} // namespace moravelt
