// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>
#include <QRect>
#include <optional>

class QPainter;

namespace moravelt {

// The town a journey has reached, marked over the map picture in the route's style: an amber
// dot in a white ring, circled by the route's colour. Kept in picture pixels like the route.
class StopMark
{
public:
    static constexpr double kDotRadius = 8.0;
    static constexpr double kRingRadius = 17.0;

    void setPoint(std::optional<QPointF> pixels);
    const std::optional<QPointF>& point() const { return m_point; }
    // The picture pixels the mark may touch; empty without a point.
    QRect bounds() const;

    void paint(QPainter& painter, const QRect& exposed) const;

private:
    std::optional<QPointF> m_point;
};

} // namespace moravelt
