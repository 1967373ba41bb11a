// SPDX-License-Identifier: MIT

#include "mapview/mapimage.h"

#include "base/moravelterror.h"

#include "base/twips.h"

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
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(1.0);
    resize(m_picture.size());
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
    m_stop.setPoint(pixels);
    update(m_stop.bounds());
}

void MapImage::place()
{
    move(Twips::toPixels(m_left), Twips::toPixels(m_top));
}

void MapImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::white);
    painter.drawImage(exposed.topLeft(), m_picture, exposed);
    if (m_routeShown)
        m_route.paint(painter, exposed);
    m_stop.paint(painter, exposed);
}

void MapImage::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position() * Twips::kPerPixel;
    emit mousePressed(buttonCode(event->button()), float(p.x()), float(p.y()));
}

void MapImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position() * Twips::kPerPixel;
    emit mouseMoved(buttonCode(event->buttons()), float(p.x()), float(p.y()));
}

void MapImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = event->position() * Twips::kPerPixel;
    emit mouseReleased(buttonCode(event->button()), float(p.x()), float(p.y()));
}

} // namespace moravelt
