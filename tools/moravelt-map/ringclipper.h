// SPDX-License-Identifier: MIT

#pragma once

#include <QPolygonF>
#include <QRectF>

namespace moravelt {

// Cuts a closed ring to a rectangle (Sutherland-Hodgman). The result is filled, never
// stroked along the cut, so the edges it adds on the rectangle's sides do no harm as long
// as the rectangle reaches beyond what is drawn.
class RingClipper
{
public:
    explicit RingClipper(const QRectF& bounds) : m_bounds(bounds) {}

    // An empty polygon when nothing of the ring lies inside.
    QPolygonF clip(const QPolygonF& ring) const;

private:
    QRectF m_bounds;
};

} // namespace moravelt
