// SPDX-License-Identifier: MIT

#include "mapview/stopmark.h"

#include "mapview/routeoverlay.h"

#include <QPainter>

namespace moravelt {

namespace {

constexpr double kRingWidth = 5.0;
constexpr double kReach = StopMark::kRingRadius + kRingWidth; // the ring and its pen

} // namespace

void StopMark::setPoint(std::optional<QPointF> pixels)
{
    m_point = pixels;
}

QRect StopMark::bounds() const
{
    if (!m_point)
        return {};
    return QRectF(*m_point - QPointF(kReach, kReach), QSizeF(2 * kReach, 2 * kReach))
        .toAlignedRect();
}

void StopMark::paint(QPainter& painter, const QRect& exposed) const
{
    if (!m_point || !exposed.intersects(bounds()))
        return;
    painter.save();
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = RouteOverlay::kLineColour;
    ring.setAlpha(230);
    painter.setPen(QPen(ring, kRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(*m_point, kRingRadius, kRingRadius);
    painter.setPen(QPen(Qt::white, 2.5));
    painter.setBrush(QColor(245, 165, 0));
    painter.drawEllipse(*m_point, kDotRadius, kDotRadius);
    painter.restore();
}

} // namespace moravelt
