// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>

class QKeyEvent;
class QWheelEvent;
class QWidget;

namespace moravelt {

class MapImage;

// Moving about the map beyond dragging it. The wheel zooms about the pointer (Shift+wheel and
// a sideways wheel pan across); the arrow keys pan a tenth of the map area and Page Up / Page
// Down a whole one while the main window has the keyboard; the commands zoom about the area's
// middle, fit a box or centre a point. The map never leaves the area: a zoom or a pan keeps it
// in view (see MapFrame::keptInView), and an offset restored at start-up that would show no
// map is brought back by the same rule once the area is shown; one that shows map is left as
// it is.
class MapNavigator : public QObject
{
    Q_OBJECT
public:
    // `area` is the picture's parent, `window` the main window whose keys pan.
    MapNavigator(MapImage& image, QWidget& area, QWidget& window, QObject* parent = nullptr);

    MapImage& image() const { return m_image; }
    int level() const;

    void zoomIn();
    void zoomOut();
    // To a level, about the area's middle.
    void zoomTo(int level);
    // To a level, keeping the picture point under the area point (twips) where it is.
    void zoomAbout(int level, QPointF areaPoint);
    // Pans by fractions of the area's width and height; positive shows what lies right or below.
    void pan(double across, double down);
    // Zooms out, when needed, to the largest level at which the box (full-size picture twips)
    // fits with a margin, and centres it, leaving no empty band where the map can fill the area.
    void fit(const QRectF& box);
    // At 1:1, the point (full-size picture twips) in the area's middle, as near as the map's
    // edges allow.
    void showPoint(QPointF point);
    // Brings the map back into the area when none of it shows.
    void keepMapShown();
    // The same, once the area is next shown (with its size and the picture known).
    void keepMapShownWhenShown();

    // Room left around a fitted box, in twips of the area.
    static constexpr double kFitMargin = 20.0 * 15;

signals:
    void levelChanged(int level);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wheel(QWheelEvent& event, QPointF areaPixel);
    bool key(const QKeyEvent* event);

    MapImage& m_image;
    QWidget& m_area;
    QWidget& m_window;
    int m_wheelAngle = 0; // eighths of a degree not yet turned into a step
    bool m_checkWhenShown = false;
};

} // namespace moravelt
