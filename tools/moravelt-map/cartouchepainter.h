// SPDX-License-Identifier: MIT

#pragma once

#include <QPainter>

namespace moravelt {

// The title box: the game's name, how to play and the legend, placed where the game's window
// looks at a first start so that a new player sees it first.
class CartouchePainter
{
public:
    CartouchePainter(QPainter& painter, double scale, double pixelsPerKm)
        : m_painter(painter), m_scale(scale), m_pixelsPerKm(pixelsPerKm)
    {
    }

    void paint(const QRectF& box);

private:
    // Each returns the y below what it drew.
    double title(const QRectF& box, double y);
    double howToPlay(const QRectF& box, double y);
    double legend(const QRectF& box, double y);
    double scaleBar(const QRectF& box, double y);
    void hint(const QRectF& box);
    void text(const QPointF& baseline, const QString& text, const QFont& font);

    QPainter& m_painter;
    double m_scale;
    double m_pixelsPerKm;
};

} // namespace moravelt
