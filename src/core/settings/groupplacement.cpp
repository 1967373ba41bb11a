// SPDX-License-Identifier: MIT

#include "settings/groupplacement.h"

#include <algorithm>

namespace moravelt {

namespace {

// The shift along one axis that brings [low, high) inside [areaLow, areaHigh), or, where it is
// larger, brings the main window's edge `mainLow` to the area's.
int shiftInto(int low, int high, int mainLow, int areaLow, int areaHigh)
{
    if (high - low > areaHigh - areaLow)
        return areaLow - mainLow;
    if (low < areaLow)
        return areaLow - low;
    return std::min(0, areaHigh - high);
}

} // namespace

WindowGroup besideMain(const QRect& main, const QSize& info, const QSize& navi)
{
    const int right = main.x() + main.width();
    return {main, QRect(QPoint(right, main.y()), info),
            QRect(QPoint(right, main.y() + info.height()), navi)};
}

WindowGroup fitGroupIn(const WindowGroup& group, const QRect& workArea)
{
    // Edges as coordinates past the last pixel, so that sizes add up exactly.
    auto far = [](const QRect& r) { return r.topLeft() + QPoint(r.width(), r.height()); };
    QPoint low = group.main.topLeft();
    QPoint high = far(group.main);
    for (const QRect& r : {group.info, group.navi}) {
        low.rx() = std::min(low.x(), r.x());
        low.ry() = std::min(low.y(), r.y());
        high.rx() = std::max(high.x(), far(r).x());
        high.ry() = std::max(high.y(), far(r).y());
    }
    const QPoint areaHigh = far(workArea);
    const QPoint m = group.main.topLeft();
    const QPoint shift(shiftInto(low.x(), high.x(), m.x(), workArea.x(), areaHigh.x()),
                       shiftInto(low.y(), high.y(), m.y(), workArea.y(), areaHigh.y()));
    return {group.main.translated(shift), group.info.translated(shift),
            group.navi.translated(shift)};
}

} // namespace moravelt
