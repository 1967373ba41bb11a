// SPDX-License-Identifier: MIT

#pragma once

#include <QRectF>
#include <vector>

namespace moravelt {

// Places town names beside their dots: of eight spots around a dot it takes the first that
// touches nothing placed so far, else the one that overlaps least.
class LabelPlacer
{
public:
    void addObstacle(const QRectF& rect) { m_taken.push_back(rect); }

    // Returns the chosen rectangle, kept inside bounds where it fits, and remembers it.
    QRectF place(const QPointF& dot, const QSizeF& size, double gap, const QRectF& bounds);

private:
    double cost(const QRectF& rect, const QRectF& bounds) const;

    std::vector<QRectF> m_taken;
};

} // namespace moravelt
