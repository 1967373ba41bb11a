// SPDX-License-Identifier: MIT

#include "windows/framedplace.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>

namespace moravelt {

namespace {

// The X window system tells of a frame by reparenting the window, setting its frame extents
// and configuring it; the window itself may neither move nor resize. Each such event has the
// unframed places checked once Qt has handled it.
class FrameEvents : public QAbstractNativeEventFilter
{
public:
    static FrameEvents& instance()
    {
        static FrameEvents* events = [] {
            auto* created = new FrameEvents;
            QCoreApplication::instance()->installNativeEventFilter(created);
            return created;
        }();
        return *events;
    }

    void watch(FramedPlace* place) { m_waiting.emplace_back(place); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || m_waiting.empty())
            return false;
        // The top bit marks an event that another client (the window manager) sent.
        const int code = static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7f;
        if (code != XCB_REPARENT_NOTIFY && code != XCB_CONFIGURE_NOTIFY &&
            code != XCB_PROPERTY_NOTIFY)
            return false;
        std::erase_if(m_waiting, [](const QPointer<FramedPlace>& place) {
            return place.isNull() || place->isFramed();
        });
        for (const QPointer<FramedPlace>& place : m_waiting)
            QMetaObject::invokeMethod(
                place.data(), [p = place.data()] { p->checkFramed(); }, Qt::QueuedConnection);
        return false;
    }

private:
    std::vector<QPointer<FramedPlace>> m_waiting;
};

} // namespace

FramedPlace& FramedPlace::of(QWidget& window)
{
    auto* place = window.findChild<FramedPlace*>(QString(), Qt::FindDirectChildrenOnly);
    return place ? *place : *new FramedPlace(window);
}

FramedPlace::FramedPlace(QWidget& window) : QObject(&window), m_window(window)
{
    window.installEventFilter(this);
    FrameEvents::instance().watch(this);
}

QMargins FramedPlace::margins() const
{
    // Qt learns of a frame only with the next configure event, which a window manager that
    // leaves the client in place may never send; the frame extents it sets are read directly.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb")
                                       ? x11->connection()
                                       : nullptr;
    if (!connection || !m_window.testAttribute(Qt::WA_WState_Created)) {
        const QRect f = m_window.frameGeometry();
        const QRect g = m_window.geometry();
        return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                f.bottom() - g.bottom()};
    }
    static const xcb_atom_t extents = [connection] {
        const char name[] = "_NET_FRAME_EXTENTS";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }();
    QMargins result;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(m_window.winId()),
                                                extents, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr);
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        result = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3])); // left right top bottom
    }
    std::free(reply);
    return result;
}

QRect FramedPlace::frame() const
{
    const QRect now = m_window.geometry().marginsAdded(margins());
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
    const QRect client(wanted.topLeft() + QPoint(m.left(), m.top()),
                       QSize(qMax(1, wanted.width() - m.left() - m.right()),
                             qMax(1, wanted.height() - m.top() - m.bottom())));
    if (client != m_window.geometry())
        m_window.setGeometry(client);
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
    if (watched == &m_window && placeEvent)
        checkFramed();
    return false;
}

void FramedPlace::checkFramed()
{
    // Framed once the window is on screen, placed by the window manager, and has a frame.
    if (m_framed || !m_window.isVisible() || !m_window.windowHandle() ||
        !m_window.windowHandle()->isExposed() || margins().isNull())
        return;
    m_framed = true;
    apply();
    emit framed();
}

} // namespace moravelt
