// SPDX-License-Identifier: MIT

#include "ringclipper.h"

#include <functional>

namespace moravelt {

namespace {

using Inside = std::function<bool(const QPointF&)>;
using Cross = std::function<QPointF(const QPointF&, const QPointF&)>;

QPolygonF clipEdge(const QPolygonF& ring, const Inside& inside, const Cross& cross)
{
    QPolygonF out;
    if (ring.isEmpty())
        return out;
    QPointF previous = ring.last();
    for (const QPointF& current : ring) {
        const bool currentIn = inside(current);
        if (currentIn != inside(previous))
            out << cross(previous, current);
        if (currentIn)
            out << current;
        previous = current;
    }
    return out;
}

QPointF atX(const QPointF& a, const QPointF& b, double x)
{
    return {x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x())};
}

QPointF atY(const QPointF& a, const QPointF& b, double y)
{
    return {a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y};
}

} // namespace

QPolygonF RingClipper::clip(const QPolygonF& ring) const
{
    const double left = m_bounds.left(), right = m_bounds.right();
    const double top = m_bounds.top(), bottom = m_bounds.bottom();
    QPolygonF r = ring;
    if (r.size() > 1 && r.first() == r.last())
        r.removeLast();
    r = clipEdge(
        r, [&](const QPointF& p) { return p.x() >= left; },
        [&](const QPointF& a, const QPointF& b) { return atX(a, b, left); });
    r = clipEdge(
        r, [&](const QPointF& p) { return p.x() <= right; },
        [&](const QPointF& a, const QPointF& b) { return atX(a, b, right); });
    r = clipEdge(
        r, [&](const QPointF& p) { return p.y() >= top; },
        [&](const QPointF& a, const QPointF& b) { return atY(a, b, top); });
    r = clipEdge(
        r, [&](const QPointF& p) { return p.y() <= bottom; },
        [&](const QPointF& a, const QPointF& b) { return atY(a, b, bottom); });
    if (r.size() < 3)
        return {};
    return r;
}

} // namespace moravelt
