// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>
#include <vector>

class QPainter;

namespace moravelt {

// A route drawn over the map picture: a bold, semi-transparent line through its towns' dots, a
// green dot at the departure and a red one at the destination. The line is kept in full-size
// picture pixels and drawn at the picture's scale with the same pen at every scale, so it stays
// sharp; a paint draws only the legs that cross the exposed part, so a drag stays cheap.
class RouteOverlay
{
public:
    static const QColor kLineColour;
    static constexpr double kLineWidth = 7.0;
    static constexpr double kMarkRadius = 9.0;

    void setPoints(std::vector<QPointF> pixels);
    const std::vector<QPointF>& points() const { return m_points; }
    bool isEmpty() const { return m_points.empty(); }
    // The scale the picture is drawn at (1 for full size).
    void setScale(double scale);
    // The pixels of the scaled picture the drawing may touch.
    QRect bounds() const { return m_bounds; }

    void paint(QPainter& painter, const QRect& exposed) const;

private:
    void place();

    std::vector<QPointF> m_points;
    std::vector<QPointF> m_drawn; // at the scale
    double m_scale = 1.0;
    QRect m_bounds;
};

} // namespace moravelt
