// SPDX-License-Identifier: MIT

#pragma once

#include "lookup/mapframe.h"
#include "mapview/mappyramid.h"
#include "mapview/routeoverlay.h"
#include "mapview/stopmark.h"
#include "mapview/towndots.h"

#include <QImage>
#include <QWidget>

namespace moravelt {

// "Image1": the map picture at a zoom level (see MapScale), placed by a single-precision offset
// in twips: the full-size picture's left and top, so that at every level the same point of the
// map stands at the map area's top-left (see MapFrame). Paints only the exposed part, so a
// large picture drags smoothly. Mouse positions are reported in twips from the full-size
// picture's top-left corner, whatever the level.
class MapImage : public QWidget
{
    Q_OBJECT
public:
    explicit MapImage(QWidget* parent = nullptr);

    // Reads the picture from a file; throws MoraveltError naming it when it cannot be read.
    void loadPicture(const QString& file);
    void setPicture(QImage picture);
    // The full-size picture.
    const QImage& picture() const { return m_pyramid.level(0); }
    const MapPyramid& pyramid() const { return m_pyramid; }

    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    void setLeftTwips(float twips);
    void setTopTwips(float twips);
    QPointF offsetTwips() const { return {double(m_left), double(m_top)}; }

    int zoomLevel() const { return m_level; }
    double scale() const;
    // Zoom level and offset at once: the picture is placed and drawn once.
    void setView(int level, QPointF offset);
    void setZoomLevel(int level) { setView(level, offsetTwips()); }
    // The full-size picture and the map area (the parent) in twips, and their arithmetic.
    QSizeF pictureTwips() const;
    QSizeF areaTwips() const;
    MapFrame frame() const { return {pictureTwips(), areaTwips()}; }

    // The route drawn over the picture, in full-size picture pixels; none when empty.
    void setRoute(std::vector<QPointF> pixels);
    const RouteOverlay& route() const { return m_route; }
    void setRouteShown(bool shown);
    bool routeShown() const { return m_routeShown; }
    // The stop a journey has reached, in picture pixels; drawn whether the route is or not.
    void setStop(std::optional<QPointF> pixels);
    const StopMark& stop() const { return m_stop; }
    // The towns' dots, in full-size picture pixels, drawn sharp over a scaled-down picture.
    void setTownDots(std::vector<QPointF> pixels);

signals:
    // Buttons as 1 left, 2 right, 4 middle; X and Y in twips over the full-size picture.
    void mousePressed(int button, float x, float y);
    void mouseMoved(int button, float x, float y);
    void mouseReleased(int button, float x, float y);
    void zoomLevelChanged(int level);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void place();
    void placeStop();
    QPointF twipsAt(const QPointF& pixel) const;

    MapPyramid m_pyramid;
    float m_left = 0;
    float m_top = 0;
    int m_level = 0;
    RouteOverlay m_route;
    TownDots m_dots;
    bool m_routeShown = true;
    StopMark m_stop; // at the scale shown
    std::optional<QPointF> m_stopAtFullSize;
};

} // namespace moravelt
