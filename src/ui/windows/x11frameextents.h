// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QMargins>
#include <optional>

class QByteArray;
class QWidget;

namespace moravelt {

// The frame a window manager on the X window system has put around a top-level window, as it
// tells it in the window's _NET_FRAME_EXTENTS, in the window's own (scaled) pixels; zero
// margins while it has told none. Nothing on another platform (Wayland, offscreen) or while
// the window has no native window yet.
std::optional<QMargins> x11FrameExtents(const QWidget& window);

// Asks the window manager for the frames it will put around windows not yet shown
// (_NET_REQUEST_FRAME_EXTENTS) and waits, at most `timeoutMs`, until it has told them all, so
// that a window can be placed and sized frame included before it first appears. Does nothing
// where the window manager does not offer it.
void requestX11FrameExtents(const QList<QWidget*>& windows, int timeoutMs);

// Whether a native event is one of those by which the X window system tells of a frame:
// the window reparented, its frame extents set, or it configured.
bool isX11FrameEvent(const QByteArray& eventType, const void* message);

} // namespace moravelt
