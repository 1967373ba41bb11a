// SPDX-License-Identifier: MIT

#include "windows/windowgeometry.h"

#include "base/twips.h"
#include "windows/framedplace.h"

namespace moravelt::WindowGeometry {

TwipsRect get(QWidget& window)
{
    const QRect frame = FramedPlace::of(window).frame();
    return {Twips::fromPixels(frame.x()), Twips::fromPixels(frame.y()),
            Twips::fromPixels(frame.width()), Twips::fromPixels(frame.height())};
}

void setLeft(QWidget& window, float twips)
{
    FramedPlace::of(window).setLeft(Twips::toPixels(twips));
}

void setTop(QWidget& window, float twips)
{
    FramedPlace::of(window).setTop(Twips::toPixels(twips));
}

void setWidth(QWidget& window, float twips)
{
    FramedPlace::of(window).setOuterWidth(Twips::toPixels(twips));
}

void setHeight(QWidget& window, float twips)
{
    FramedPlace::of(window).setOuterHeight(Twips::toPixels(twips));
}

} // namespace moravelt::WindowGeometry
