// SPDX-License-Identifier: MIT

#pragma once

#include <QMargins>
#include <optional>

class QByteArray;
class QWidget;

namespace moravelt {

// The frame a window manager on the X window system has put around a top-level window, as it
// tells it in the window's _NET_FRAME_EXTENTS; zero margins while it has told none. Nothing on
// another platform (Wayland, offscreen) or while the window has no native window yet.
std::optional<QMargins> x11FrameExtents(const QWidget& window);

// Whether a native event is one of those by which the X window system tells of a frame:
// the window reparented, its frame extents set, or it configured.
bool isX11FrameEvent(const QByteArray& eventType, const void* message);

} // namespace moravelt
