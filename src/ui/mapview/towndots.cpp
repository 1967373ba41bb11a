// SPDX-License-Identifier: MIT

#include "mapview/towndots.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace moravelt {

const QColor TownDots::kDot(0xA8, 0x1E, 0x2A);
const QColor TownDots::kRing(0xFF, 0xFF, 0xFF);

void TownDots::setPoints(std::vector<QPointF> pixels)
{
    m_points = std::move(pixels);
}

double TownDots::radius(double scale)
{
    // The picture's dot is 12 pixels across with its ring; it shrinks more slowly than the
    // picture, so that a dot stays a target for the pointer.
    return std::max(3.0, 6.0 * std::sqrt(scale));
}

void TownDots::paint(QPainter& painter, const QRect& exposed) const
{
    if (m_scale >= 1.0 || m_points.empty())
        return;
    const double r = radius(m_scale);
    const QRectF area = QRectF(exposed).adjusted(-r - 1, -r - 1, r + 1, r + 1);
    painter.save();
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::Antialiasing);
    const double ring = std::min(1.5, r / 3);
    painter.setPen(QPen(kRing, ring));
    painter.setBrush(kDot);
    for (const QPointF& p : m_points) {
        const QPointF at = p * m_scale;
        if (area.contains(at))
            painter.drawEllipse(at, r - ring / 2, r - ring / 2);
    }
    painter.restore();
}

} // namespace moravelt
