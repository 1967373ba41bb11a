// SPDX-License-Identifier: MIT

#include "labelplacer.h"

namespace moravelt {

namespace {

double area(const QRectF& r)
{
    return r.isValid() ? r.width() * r.height() : 0;
}

} // namespace

QRectF LabelPlacer::place(const QPointF& dot, const QSizeF& size, double gap, const QRectF& bounds)
{
    const double w = size.width(), h = size.height();
    const double x = dot.x(), y = dot.y();
    // Right first, as readers expect; then left, above, below, then the corners.
    const QRectF candidates[] = {
        {x + gap, y - h / 2, w, h},
        {x - gap - w, y - h / 2, w, h},
        {x - w / 2, y - gap - h, w, h},
        {x - w / 2, y + gap, w, h},
        {x + gap * 0.7, y - gap * 0.7 - h, w, h},
        {x + gap * 0.7, y + gap * 0.7, w, h},
        {x - gap * 0.7 - w, y - gap * 0.7 - h, w, h},
        {x - gap * 0.7 - w, y + gap * 0.7, w, h},
    };
    QRectF best = candidates[0];
    double bestCost = -1;
    for (const QRectF& candidate : candidates) {
        const double c = cost(candidate, bounds);
        if (bestCost < 0 || c < bestCost) {
            best = candidate;
            bestCost = c;
        }
        if (c == 0)
            break;
    }
    m_taken.push_back(best);
    return best;
}

double LabelPlacer::cost(const QRectF& rect, const QRectF& bounds) const
{
    // Leaving the bounds is worse than covering another label.
    double c = 4 * (area(rect) - area(rect.intersected(bounds)));
    for (const QRectF& taken : m_taken)
        c += area(rect.intersected(taken));
    return c;
}

} // namespace moravelt
