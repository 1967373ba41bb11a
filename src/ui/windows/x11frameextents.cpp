// SPDX-License-Identifier: MIT

#include "windows/x11frameextents.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace moravelt {

namespace {

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection()
                                                                          : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// The extents in the X server's pixels, or nothing while the window manager has set none.
std::optional<QMargins> nativeExtents(xcb_connection_t* connection, xcb_window_t window)
{
    static const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    std::optional<QMargins> result;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr);
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        result = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3])); // left right top bottom
    }
    std::free(reply);
    return result;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_query_tree_reply_t* reply =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    const xcb_window_t root = reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
    std::free(reply);
    return root;
}

// Whether the running window manager lists the atom in the root window's _NET_SUPPORTED.
bool supported(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t wanted)
{
    static const xcb_atom_t list = atom(connection, "_NET_SUPPORTED");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, list, XCB_ATOM_ATOM, 0, 4096), nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        found = std::find(atoms, atoms + count, wanted) != atoms + count;
    }
    std::free(reply);
    return found;
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
    const QMargins native = nativeExtents(connection, xcb_window_t(id)).value_or(QMargins());
    // Qt places windows in pixels scaled by QT_SCALE_FACTOR and the screen's own factor.
    const qreal ratio = window.devicePixelRatioF();
    return QMargins(qRound(native.left() / ratio), qRound(native.top() / ratio),
                    qRound(native.right() / ratio), qRound(native.bottom() / ratio));
}

void requestX11FrameExtents(const QList<QWidget*>& windows, int timeoutMs)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection || windows.isEmpty() || !windows.front()->internalWinId())
        return;
    static const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_window_t root = rootOf(connection, xcb_window_t(windows.front()->internalWinId()));
    if (root == XCB_WINDOW_NONE || !supported(connection, root, request))
        return;
    std::vector<xcb_window_t> waiting;
    for (QWidget* window : windows) {
        const auto id = xcb_window_t(window->internalWinId());
        if (!id || nativeExtents(connection, id))
            continue;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = request;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        waiting.push_back(id);
    }
    xcb_flush(connection);
    QElapsedTimer clock;
    clock.start();
    // The window manager answers at once when it answers at all; a stopped one is waited for
    // no longer than the timeout, and the frame is then learnt when the window is shown.
    while (!waiting.empty() && !clock.hasExpired(timeoutMs)) {
        std::erase_if(waiting, [connection](xcb_window_t id) {
            return nativeExtents(connection, id).has_value();
        });
        if (!waiting.empty())
            QThread::msleep(2);
    }
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
