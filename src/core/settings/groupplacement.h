// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>

namespace moravelt {

// The three windows' frames (outer rectangles, title bar and border included), in pixels.
struct WindowGroup
{
    QRect main;
    QRect info;
    QRect navi;
};

// The first-start arrangement around a main window framed at `main`: the information window
// on its right edge with the same top, the navi list window on the same left edge under it.
WindowGroup besideMain(const QRect& main, const QSize& info, const QSize& navi);

// The group moved as one, as little as needed, so that every frame lies inside the work area.
// On an axis where the group is larger than the work area, the main window's top or left edge
// goes to the work area's, so that at least its title bar and menu can be reached.
WindowGroup fitGroupIn(const WindowGroup& group, const QRect& workArea);

} // namespace moravelt
