// SPDX-License-Identifier: MIT

#pragma once

#include "mapview/routeoverlay.h"
#include "mapview/stopmark.h"

#include <QImage>
#include <QWidget>

namespace moravelt {

// "Image1": the map picture at its own size in logical pixels, placed by a single-precision
// offset in twips. Paints only the exposed part, so a large picture drags smoothly. Mouse
// positions are reported in twips from the picture's top-left corner.
class MapImage : public QWidget
{
    Q_OBJECT
public:
    explicit MapImage(QWidget* parent = nullptr);

    // Reads the picture from a file; throws MoraveltError naming it when it cannot be read.
    void loadPicture(const QString& file);
    void setPicture(QImage picture);
    const QImage& picture() const { return m_picture; }

    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    void setLeftTwips(float twips);
    void setTopTwips(float twips);

    // The route drawn over the picture, in picture pixels; none when empty.
    void setRoute(std::vector<QPointF> pixels);
    const RouteOverlay& route() const { return m_route; }
    void setRouteShown(bool shown);
    bool routeShown() const { return m_routeShown; }
    // The stop a journey has reached, in picture pixels; drawn whether the route is or not.
    void setStop(std::optional<QPointF> pixels);
    const StopMark& stop() const { return m_stop; }

signals:
    // Buttons as 1 left, 2 right, 4 middle; X and Y in twips over the picture.
    void mousePressed(int button, float x, float y);
    void mouseMoved(int button, float x, float y);
    void mouseReleased(int button, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void place();

    QImage m_picture;
    float m_left = 0;
    float m_top = 0;
    RouteOverlay m_route;
    bool m_routeShown = true;
    StopMark m_stop;
};

} // namespace moravelt
