// SPDX-License-Identifier: MIT

#include "mapview/mapinput.h"

#include "base/playermessage.h"
#include "base/prompt.h"
#include "mapview/mapimage.h"

#include <QCursor>

namespace moravelt {

MapInput::MapInput(MapImage& image, Prompt& prompt, QObject* parent)
    : QObject(parent), m_image(image), m_prompt(prompt)
{
    connect(&image, &MapImage::mousePressed, this, &MapInput::Image1_MouseDown);
    connect(&image, &MapImage::mouseMoved, this, &MapInput::Image1_MouseMove);
    connect(&image, &MapImage::mouseReleased, this, &MapInput::Image1_MouseUp);
}

void MapInput::setSlots(std::shared_ptr<QuerySlots> querySlots)
{
    m_lookup.reset();
    m_slots = std::move(querySlots);
    if (m_slots)
        m_lookup = std::make_unique<PlaceLookup>(*m_slots);
}

void MapInput::Image1_MouseDown(int button, float x, float y)
{
    if (button == 2) {
        if (m_pointer.menuEnabled())
            emit destinationMenuRequested(QCursor::pos());
        return;
    }
    m_pointer.startDrag(x, y);
}

void MapInput::Image1_MouseMove(int /*button*/, float x, float y)
{
    if (m_pointer.lookupDue(x, y))
        lookUp(x, y);
    if (m_pointer.dragging())
        MapMoveImg(x, y);
}

void MapInput::Image1_MouseUp(int /*button*/, float /*x*/, float /*y*/)
{
    m_pointer.endDrag();
}

void MapInput::lookUp(float x, float y)
{
    m_pointer.setMenuEnabled(false);
    MapNameGet(x, y);
}

void MapInput::MapMoveImg(float x, float y)
{
    const QPointF offset = m_pointer.dragOffset(x, y);
    const QPointF moved(double(m_image.leftTwips() + float(offset.x())),
                        double(m_image.topTwips() + float(offset.y())));
    // Top and left in one placement, so a frame of the drag paints once.
    m_image.setView(m_image.zoomLevel(), m_image.frame().keptInView(moved, m_image.scale()));
}

void MapInput::MapNameGet(float x, float y)
{
    if (!m_lookup)
        return;
    // Nothing may leave a mouse handler through Qt's event delivery.
    try {
        const std::optional<PlaceLookupResult> place = m_lookup->MapNameGet(x, y, m_answersShown);
        if (!place)
            return;
        m_lastFailure.clear();
        if (place->quizShown)
            m_pointer.setMenuEnabled(true);
        m_pointer.lookupFound(x, y);
        emit placeFound(*place);
    } catch (...) {
        reportLookupFailure(playerMessage());
    }
}

void MapInput::reportLookupFailure(const QString& message)
{
    if (message != m_lastFailure) {
        m_lastFailure = message;
        m_prompt.reportError(QStringLiteral("町の情報を読めませんでした。\n%1").arg(message));
    }
}

} // namespace moravelt
