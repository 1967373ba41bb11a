// SPDX-License-Identifier: MIT

#include "windows/framedplace.h"

#include "windows/frameevents.h"
#include "windows/x11frameextents.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace moravelt {

FramedPlace& FramedPlace::of(QWidget& window)
{
    auto* place = window.findChild<FramedPlace*>(QString(), Qt::FindDirectChildrenOnly);
    return place ? *place : *new FramedPlace(window);
}

FramedPlace::FramedPlace(QWidget& window) : QObject(&window), m_window(window)
{
    window.installEventFilter(this);
    FrameEvents::watch(*this);
}

FramedPlace::~FramedPlace()
{
    FrameEvents::forget(*this);
}

QMargins FramedPlace::margins() const
{
    if (const std::optional<QMargins> extents = x11FrameExtents(m_window))
        return *extents;
    const QRect f = m_window.frameGeometry();
    const QRect g = m_window.geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

QRect FramedPlace::frame() const
{
    // Qt keeps the client area a maximised window is restored to; its frame there is the one
    // last seen around the restored window (a window manager may draw less around a maximised
    // one).
    QMargins m = margins();
    if (isNormal() && !m.isNull())
        m_normalMargins = m;
    else if (!isNormal() && !m_normalMargins.isNull())
        m = m_normalMargins;
    const QRect client = isNormal() ? m_window.geometry() : m_window.normalGeometry();
    const QRect now = client.marginsAdded(m);
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
    // Before the framing the margins are zero, and the window is placed as if it had no
    // frame; the framing corrects it. The client area is placed, not the frame, so that
    // the margins used are the ones read here.
    const QRect wanted = frame();
    const QMargins m = margins();
    if (!isNormal()) {
        // A place asked for before the window was maximised is already its restored place.
        if (m_framed)
            forgetAskedPlace();
        return;
    }
    const QRect client(wanted.topLeft() + QPoint(m.left(), m.top()),
                       QSize(qMax(1, wanted.width() - m.left() - m.right()),
                             qMax(1, wanted.height() - m.top() - m.bottom())));
    if (client != m_window.geometry())
        m_window.setGeometry(client);
    if (m_framed)
        forgetAskedPlace();
}

void FramedPlace::forgetAskedPlace()
{
    m_left.reset();
    m_top.reset();
    m_outerWidth.reset();
    m_outerHeight.reset();
}

bool FramedPlace::isNormal() const
{
    return !(m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

bool FramedPlace::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // A window manager that keeps the client where it was asked for moves nothing when it
    // frames it: the first paint, once the window is on screen, tells as well.
    const bool placeEvent = type == QEvent::Move || type == QEvent::Resize ||
                            type == QEvent::Show || type == QEvent::Paint;
    if (watched == &m_window && placeEvent)
        checkFramedLater();
    return false;
}

void FramedPlace::checkFramedLater()
{
    if (m_framed || m_checkQueued)
        return;
    m_checkQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_checkQueued = false;
            checkFramed();
        },
        Qt::QueuedConnection);
}

void FramedPlace::checkFramed()
{
    // Framed once the window is on screen, placed by the window manager, and has a frame.
    if (m_framed || !m_window.isVisible() || !m_window.windowHandle() ||
        !m_window.windowHandle()->isExposed() || margins().isNull())
        return;
    m_framed = true;
    FrameEvents::forget(*this);
    apply();
    emit framed();
}

} // namespace moravelt
