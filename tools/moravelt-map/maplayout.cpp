// SPDX-License-Identifier: MIT

#include "maplayout.h"

#include <algorithm>

namespace moravelt {

namespace {

// The shipped picture: about 0.4 km a pixel, from the Korean coast to the southern Kurils
// and from Wakkanai to Yakushima.
constexpr int pictureWidth = 5000;
constexpr int pictureHeight = 4400;
constexpr double mainPixelsPerKm = 2.5;
constexpr double mainLeftKm = -1020;
constexpr double mainTopKm = 870;

// The inset fills the open Pacific south of the Boso peninsula, clear of the Izu islands.
const QRectF insetBoxFull(3380, 3090, 1596, 1290);
constexpr double insetMargin = 24;

// The first-start position of the picture is (-16590, -17805) twips, 15 twips a pixel,
// in a window whose client area is about 449 x 563 pixels.
const QRectF firstViewFull(1106, 1187, 449, 563);

QRectF scaled(const QRectF& r, double s)
{
    return {r.x() * s, r.y() * s, r.width() * s, r.height() * s};
}

} // namespace

MapLayout::MapLayout(double scale) : m_scale(scale), m_projection(33, 44, 137, 38)
{
    // Fit the inset region's projected outline into the box, keeping the projection's shape.
    const QRectF region = insetRegion();
    double left = 1e9, right = -1e9, top = -1e9, bottom = 1e9;
    constexpr int steps = 16;
    for (int i = 0; i <= steps; ++i) {
        for (int j = 0; j <= steps; ++j) {
            const QPointF p = m_projection.project(region.top() + region.height() * i / steps,
                                                   region.left() + region.width() * j / steps);
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            bottom = std::min(bottom, p.y());
            top = std::max(top, p.y());
        }
    }
    const QRectF inner =
        insetBoxFull.adjusted(insetMargin, insetMargin, -insetMargin, -insetMargin);
    m_insetPixelsPerKm = std::min(inner.width() / (right - left), inner.height() / (top - bottom));
    const double spareX = inner.width() / m_insetPixelsPerKm - (right - left);
    const double spareY = inner.height() / m_insetPixelsPerKm - (top - bottom);
    m_insetOrigin = {left - spareX / 2 - insetMargin / m_insetPixelsPerKm,
                     top + spareY / 2 + insetMargin / m_insetPixelsPerKm};
}

QSize MapLayout::pictureSize() const
{
    return {qRound(pictureWidth * m_scale), qRound(pictureHeight * m_scale)};
}

bool MapLayout::belongsToInset(double lat, double lon)
{
    return lat < 29.5 && lon < 131.0;
}

QRectF MapLayout::insetRegion()
{
    return QRectF(QPointF(122.8, 23.95), QPointF(130.3, 28.9));
}

QPointF MapLayout::mainPixel(double lat, double lon) const
{
    const QPointF km = m_projection.project(lat, lon);
    return {(km.x() - mainLeftKm) * mainPixelsPerKm * m_scale,
            (mainTopKm - km.y()) * mainPixelsPerKm * m_scale};
}

QPointF MapLayout::insetPixel(double lat, double lon) const
{
    const QPointF km = m_projection.project(lat, lon);
    const QPointF full(insetBoxFull.left() + (km.x() - m_insetOrigin.x()) * m_insetPixelsPerKm,
                       insetBoxFull.top() + (m_insetOrigin.y() - km.y()) * m_insetPixelsPerKm);
    return full * m_scale;
}

QRectF MapLayout::insetBox() const
{
    return scaled(insetBoxFull, m_scale);
}

QRectF MapLayout::firstView() const
{
    return scaled(firstViewFull, m_scale);
}

double MapLayout::pixelsPerKm() const
{
    return mainPixelsPerKm * m_scale;
}

} // namespace moravelt
