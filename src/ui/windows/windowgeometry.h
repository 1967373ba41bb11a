// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace moravelt {

// A top-level window's place in twips: the frame's position and the outer size, as the
// settings file keeps them.
struct TwipsRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The window's place in twips, through its FramedPlace: a place set before the window manager
// framed the window is answered as set and applied once the frame is known.
namespace WindowGeometry {

TwipsRect get(QWidget& window);
void setLeft(QWidget& window, float twips);
void setTop(QWidget& window, float twips);
void setWidth(QWidget& window, float twips);
void setHeight(QWidget& window, float twips);

} // namespace WindowGeometry
} // namespace moravelt
