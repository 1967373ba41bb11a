#include "app/framedplace.h"

#include <QEvent>
#include <QWidget>

namespace moravelt {

FramedPlace& FramedPlace::of(QWidget& window)
{
    auto* place = window.findChild<FramedPlace*>(QString(), Qt::FindDirectChildrenOnly);
    return place ? *place : *new FramedPlace(window);
}

FramedPlace::FramedPlace(QWidget& window) : QObject(&window), m_window(window)
{
    window.installEventFilter(this);
}

QRect FramedPlace::frame() const
{
    const QRect now = m_window.frameGeometry();
    return {m_left.value_or(now.x()), m_top.value_or(now.y()), m_outerWidth.value_or(now.width()),
            m_outerHeight.value_or(now.height())};
}

void FramedPlace::setLeft(int pixels)
{
    m_left = pixels;
    apply();
}

void FramedPlace::setTop(int pixels)
{
    m_top = pixels;
    apply();
}

void FramedPlace::setOuterWidth(int pixels)
{
    m_outerWidth = pixels;
    apply();
}

void FramedPlace::setOuterHeight(int pixels)
{
    m_outerHeight = pixels;
    apply();
}

void FramedPlace::apply()
{
    // Before the framing the margins are zero, and the window is moved and sized as if it had
    // no frame; the framing corrects both.
    const QRect wanted = frame();
    const QRect now = m_window.frameGeometry();
    const QSize margins = now.size() - m_window.size();
    const QSize size(qMax(1, wanted.width() - margins.width()),
                     qMax(1, wanted.height() - margins.height()));
    if (size != m_window.size())
        m_window.resize(size);
    if (wanted.topLeft() != m_window.frameGeometry().topLeft())
        m_window.move(wanted.topLeft());
    if (m_framed) {
        m_left.reset();
        m_top.reset();
        m_outerWidth.reset();
        m_outerHeight.reset();
    }
}

bool FramedPlace::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // A window manager that keeps the client where it was asked for moves nothing when it
    // frames it: the first paint, once the window is on screen, tells as well.
    const bool placeEvent = type == QEvent::Move || type == QEvent::Resize ||
                            type == QEvent::Show || type == QEvent::Paint;
    // Framed once the window is on screen and its frame is larger than its client area.
    if (watched == &m_window && placeEvent && !m_framed && m_window.isVisible() &&
        m_window.frameGeometry() != m_window.geometry()) {
        m_framed = true;
        apply();
        emit framed();
    }
    return false;
}

} // namespace moravelt
