#pragma once

#include <functional>

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

namespace WindowGeometry {

TwipsRect get(const QWidget& window);
void setLeft(QWidget& window, float twips);
void setTop(QWidget& window, float twips);
void setWidth(QWidget& window, float twips);
void setHeight(QWidget& window, float twips);

// Keeps the window where it stands now instead of letting the window system place it anew.
void pin(QWidget& window);

// Called when a window is shown: asks again for the place and outer size set before, once the
// window manager has framed the window, then calls settled (if given).
void settleAfterShow(QWidget& window, const std::function<void()>& settled = {});

} // namespace WindowGeometry
} // namespace moravelt
