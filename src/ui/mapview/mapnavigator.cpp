// SPDX-License-Identifier: MIT

#include "mapview/mapnavigator.h"

#include "base/twips.h"
#include "lookup/mapframe.h"
#include "lookup/mapscale.h"
#include "mapview/mapimage.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

namespace moravelt {

namespace {

constexpr int kWheelStep = 120; // one notch of a wheel, in eighths of a degree

QPointF rounded(QPointF twips)
{
    return {std::round(twips.x()), std::round(twips.y())};
}

} // namespace

MapNavigator::MapNavigator(MapImage& image, QWidget& area, QWidget& window, QObject* parent)
    : QObject(parent), m_image(image), m_area(area), m_window(window)
{
    connect(&image, &MapImage::zoomLevelChanged, this, &MapNavigator::levelChanged);
    // The wheel over the picture or over the area around it.
    image.installEventFilter(this);
    area.installEventFilter(this);
    window.installEventFilter(this);
}

int MapNavigator::level() const
{
    return m_image.zoomLevel();
}

void MapNavigator::zoomIn()
{
    zoomTo(level() - 1);
}

void MapNavigator::zoomOut()
{
    zoomTo(level() + 1);
}

void MapNavigator::zoomTo(int level)
{
    const QSizeF area = m_image.areaTwips();
    zoomAbout(level, {area.width() / 2, area.height() / 2});
}

void MapNavigator::zoomAbout(int level, QPointF areaPoint)
{
    level = MapScale::clamp(level);
    if (level == this->level())
        return;
    const QPointF offset = MapFrame::zoomedAbout(m_image.offsetTwips(), areaPoint, m_image.scale(),
                                                 MapScale::factor(level));
    m_image.setView(level, m_image.frame().keptInView(offset, MapScale::factor(level)));
}

void MapNavigator::pan(double across, double down)
{
    const QSizeF area = m_image.areaTwips();
    const double s = m_image.scale();
    const QPointF offset =
        m_image.offsetTwips() - QPointF(across * area.width() / s, down * area.height() / s);
    m_image.setView(level(), m_image.frame().keptInView(offset, s));
}

void MapNavigator::fit(const QRectF& box)
{
    const MapFrame frame = m_image.frame();
    const int level = frame.fittingLevel(box, kFitMargin, this->level());
    m_image.setView(level, rounded(frame.centredOn(box.center(), MapScale::factor(level))));
}

void MapNavigator::showPoint(QPointF point)
{
    m_image.setView(MapScale::kFull, rounded(m_image.frame().centredOn(point, 1.0)));
}

void MapNavigator::keepMapShown()
{
    if (m_image.pyramid().isEmpty() || m_area.width() <= 0 || m_area.height() <= 0)
        return;
    const MapFrame frame = m_image.frame();
    if (!frame.showsMap(m_image.offsetTwips(), m_image.scale()))
        m_image.setView(level(), frame.keptInView(m_image.offsetTwips(), m_image.scale()));
}

void MapNavigator::keepMapShownWhenShown()
{
    if (m_area.isVisible())
        keepMapShown();
    else
        m_checkWhenShown = true;
}

bool MapNavigator::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == &m_image || watched == &m_area) && event->type() == QEvent::Wheel) {
        auto* turned = static_cast<QWheelEvent*>(event);
        const QPointF at =
            watched == &m_image ? m_image.mapToParent(turned->position()) : turned->position();
        wheel(*turned, at);
        return true;
    }
    if (watched == &m_area) {
        if (event->type() == QEvent::Show && m_checkWhenShown) {
            m_checkWhenShown = false;
            keepMapShown();
        }
    } else if (watched == &m_window && event->type() == QEvent::KeyPress) {
        return key(static_cast<QKeyEvent*>(event));
    }
    return QObject::eventFilter(watched, event);
}

void MapNavigator::wheel(QWheelEvent& event, QPointF areaPixel)
{
    event.accept();
    const QPoint angle = event.angleDelta();
    // Shift+wheel, or a wheel turned sideways, pans across a tenth of the area a notch.
    if (angle.x() != 0 || event.modifiers() & Qt::ShiftModifier) {
        const int turned = angle.x() != 0 ? angle.x() : angle.y();
        pan(-0.1 * turned / kWheelStep, 0);
        return;
    }
    // A notch is a level; finer wheels add up to one.
    m_wheelAngle += angle.y();
    const int steps = m_wheelAngle / kWheelStep;
    if (steps == 0)
        return;
    m_wheelAngle -= steps * kWheelStep;
    zoomAbout(level() - steps, areaPixel * Twips::kPerPixel);
}

bool MapNavigator::key(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
        pan(-0.1, 0);
        return true;
    case Qt::Key_Right:
        pan(0.1, 0);
        return true;
    case Qt::Key_Up:
        pan(0, -0.1);
        return true;
    case Qt::Key_Down:
        pan(0, 0.1);
        return true;
    case Qt::Key_PageUp:
        pan(0, -1);
        return true;
    case Qt::Key_PageDown:
        pan(0, 1);
        return true;
    default:
        return false;
    }
}

} // namespace moravelt
