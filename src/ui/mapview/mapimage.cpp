// SPDX-License-Identifier: MIT

#include "mapview/mapimage.h"

#include "base/moravelterror.h"
#include "base/twips.h"
#include "lookup/mapscale.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace moravelt {

namespace {

int buttonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

} // namespace

MapImage::MapImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void MapImage::loadPicture(const QString& file)
{
    QImageReader reader(file);
    QImage picture = reader.read();
    if (picture.isNull())
        throw MoraveltError(
            QStringLiteral("「map.jpg」を読み込めません: %1 (%2)").arg(reader.errorString(), file));
    setPicture(std::move(picture));
}

void MapImage::setPicture(QImage picture)
{
    picture = picture.convertToFormat(QImage::Format_RGB32);
    picture.setDevicePixelRatio(1.0);
    m_pyramid.setPicture(std::move(picture));
    place();
    update();
}

void MapImage::setLeftTwips(float twips)
{
    m_left = twips;
    place();
}

void MapImage::setTopTwips(float twips)
{
    m_top = twips;
    place();
}

double MapImage::scale() const
{
    return MapScale::factor(m_level);
}

void MapImage::setView(int level, QPointF offset)
{
    level = MapScale::clamp(level);
    const bool changed = level != m_level;
    m_level = level;
    m_left = float(offset.x());
    m_top = float(offset.y());
    m_route.setScale(scale());
    m_dots.setScale(scale());
    placeStop();
    place();
    if (changed) {
        update();
        emit zoomLevelChanged(m_level);
    }
}

QSizeF MapImage::pictureTwips() const
{
    return QSizeF(m_pyramid.size(0)) * Twips::kPerPixel;
}

QSizeF MapImage::areaTwips() const
{
    return parentWidget() ? QSizeF(parentWidget()->size()) * Twips::kPerPixel : QSizeF();
}

void MapImage::setRoute(std::vector<QPointF> pixels)
{
    update(m_route.bounds());
    m_route.setPoints(std::move(pixels));
    update(m_route.bounds());
}

void MapImage::setRouteShown(bool shown)
{
    m_routeShown = shown;
    update(m_route.bounds());
}

void MapImage::setStop(std::optional<QPointF> pixels)
{
    update(m_stop.bounds());
    m_stopAtFullSize = pixels;
    placeStop();
    update(m_stop.bounds());
}

void MapImage::placeStop()
{
    m_stop.setPoint(m_stopAtFullSize ? std::optional<QPointF>(*m_stopAtFullSize * scale())
                                     : std::nullopt);
}

void MapImage::setTownDots(std::vector<QPointF> pixels)
{
    m_dots.setPoints(std::move(pixels));
    update();
}

void MapImage::place()
{
    // At 1:1 the picture stands at its offset; scaled down, at the offset scaled alike.
    const float s = float(scale());
    const QPoint at(Twips::toPixels(m_left * s), Twips::toPixels(m_top * s));
    if (m_pyramid.isEmpty())
        move(at);
    else
        setGeometry(QRect(at, m_pyramid.size(m_level)));
}

QPointF MapImage::twipsAt(const QPointF& pixel) const
{
    return pixel * (Twips::kPerPixel / scale());
}

void MapImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QImage& shown = m_pyramid.level(m_level);
    if (!shown.rect().contains(exposed))
        painter.fillRect(exposed, Qt::white);
    painter.drawImage(exposed.topLeft(), shown, exposed);
    m_dots.paint(painter, exposed);
    if (m_routeShown)
        m_route.paint(painter, exposed);
    m_stop.paint(painter, exposed);
}

void MapImage::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = twipsAt(event->position());
    emit mousePressed(buttonCode(event->button()), float(p.x()), float(p.y()));
}

void MapImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = twipsAt(event->position());
    emit mouseMoved(buttonCode(event->buttons()), float(p.x()), float(p.y()));
}

void MapImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = twipsAt(event->position());
    emit mouseReleased(buttonCode(event->button()), float(p.x()), float(p.y()));
}

} // namespace moravelt
