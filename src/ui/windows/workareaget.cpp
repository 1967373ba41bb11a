// SPDX-License-Identifier: MIT

#include "windows/workareaget.h"

#include <QGuiApplication>
#include <QScreen>

namespace moravelt {

namespace {

WorkArea currentWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect area = screen->availableGeometry();
    // Right and bottom are the edges themselves, not the last pixel inside.
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

} // namespace

std::int32_t WorkAreaGet(const QString& key)
{
    return workAreaValue(currentWorkArea(), key);
}

} // namespace moravelt
