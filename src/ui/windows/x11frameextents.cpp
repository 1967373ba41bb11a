// SPDX-License-Identifier: MIT

#include "windows/x11frameextents.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>

namespace moravelt {

namespace {

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection()
                                                                          : nullptr;
}

} // namespace

std::optional<QMargins> x11FrameExtents(const QWidget& window)
{
    // Qt learns of a frame only with the next configure event, which a window manager that
    // leaves the client in place may never send; the frame extents it sets are read directly.
    xcb_connection_t* connection = x11Connection();
    const WId id = window.internalWinId();
    if (!connection || !id)
        return std::nullopt;
    static const xcb_atom_t extents = [connection] {
        const char name[] = "_NET_FRAME_EXTENTS";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }();
    QMargins result;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, xcb_window_t(id), extents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr);
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        result = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3])); // left right top bottom
    }
    std::free(reply);
    return result;
}

bool isX11FrameEvent(const QByteArray& eventType, const void* message)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    // The top bit marks an event that another client (the window manager) sent.
    const int code = static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7f;
    return code == XCB_REPARENT_NOTIFY || code == XCB_CONFIGURE_NOTIFY ||
           code == XCB_PROPERTY_NOTIFY;
}

} // namespace moravelt
