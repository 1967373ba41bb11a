// SPDX-License-Identifier: MIT

#include "windows/windowplaces.h"

#include <QGuiApplication>

namespace moravelt::WindowPlaces {

bool reportedByPlatform()
{
    // "wayland", "wayland-egl" and the other clients of a compositor.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace moravelt::WindowPlaces
