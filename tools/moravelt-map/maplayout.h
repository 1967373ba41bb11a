// SPDX-License-Identifier: MIT

#pragma once

#include "lambertconic.h"

#include <QRectF>
#include <QSize>

namespace moravelt {

// Where everything lies on the map picture: Japan north up in a conformal conic projection,
// and the Nansei islands moved into an inset box in the open Pacific, as Japanese maps
// draw them. All sizes grow with the scale; 1 is the picture the game ships with.
class MapLayout
{
public:
    explicit MapLayout(double scale = 1.0);

    double scale() const { return m_scale; }
    QSize pictureSize() const;

    // Islands south of 29.5°N and west of 131°E are drawn in the inset.
    static bool belongsToInset(double lat, double lon);
    // The longitude/latitude rectangle the inset shows (x = longitude, y = latitude).
    static QRectF insetRegion();

    QPointF mainPixel(double lat, double lon) const;
    QPointF insetPixel(double lat, double lon) const;
    QPointF pixel(double lat, double lon) const
    {
        return belongsToInset(lat, lon) ? insetPixel(lat, lon) : mainPixel(lat, lon);
    }

    QRectF insetBox() const;
    // The part of the picture the game's window shows at a first start.
    QRectF firstView() const;
    // Pixels per kilometre in the main frame (true along the standard parallels).
    double pixelsPerKm() const;

private:
    double m_scale;
    LambertConic m_projection;
    QPointF m_insetOrigin; // projected km at the inset box's top-left
    double m_insetPixelsPerKm = 1;
};

} // namespace moravelt
