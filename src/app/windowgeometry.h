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

namespace WindowGeometry {

TwipsRect get(const QWidget& window);
void setLeft(QWidget& window, float twips);
void setTop(QWidget& window, float twips);
void setWidth(QWidget& window, float twips);
void setHeight(QWidget& window, float twips);

// Before a window is first shown its frame is unknown; an outer size set then is applied
// again once the frame exists, so a restored size round-trips exactly.
void reapplyOuterSize(QWidget& window, bool final = true);

} // namespace WindowGeometry
} // namespace moravelt
