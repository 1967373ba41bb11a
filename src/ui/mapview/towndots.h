// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>
#include <vector>

class QPainter;

namespace moravelt {

// The towns' dots drawn over the picture when it is scaled down, where the picture's own dots
// blur and fade: crisp at every level, in the colours the map tool draws them in. Nothing is
// drawn at full size, where the picture's own dots are sharp. Hidden towns have no dot.
class TownDots
{
public:
    static const QColor kDot;
    static const QColor kRing;

    // The dots in full-size picture pixels.
    void setPoints(std::vector<QPointF> pixels);
    void setScale(double scale) { m_scale = scale; }
    // The dot's radius at a scale, ring included.
    static double radius(double scale);

    void paint(QPainter& painter, const QRect& exposed) const;

private:
    std::vector<QPointF> m_points;
    double m_scale = 1.0;
};

} // namespace moravelt
