// SPDX-License-Identifier: MIT

#include "lookup/mapframe.h"

#include "lookup/mapscale.h"

#include <algorithm>

namespace moravelt {

namespace {

// One axis, in area twips: where the picture's drawn edge stands, how long it is drawn, how
// long the area is.
double axisKept(double at, double drawn, double area)
{
    const double shown = std::min(area / 2, drawn);
    const double low = shown - drawn;
    const double high = area - shown;
    return at < low ? low : at > high ? high : at;
}

double axisCovering(double at, double drawn, double area)
{
    if (drawn < area)
        return (area - drawn) / 2;
    return std::clamp(at, area - drawn, 0.0);
}

} // namespace

QPointF MapFrame::pictureAt(QPointF areaPoint, QPointF offset, double scale)
{
    return areaPoint / scale - offset;
}

QPointF MapFrame::offsetPutting(QPointF picturePoint, QPointF areaPoint, double scale)
{
    return areaPoint / scale - picturePoint;
}

QPointF MapFrame::zoomedAbout(QPointF offset, QPointF anchor, double from, double to)
{
    return offsetPutting(pictureAt(anchor, offset, from), anchor, to);
}

bool MapFrame::showsMap(QPointF offset, double scale) const
{
    const QPointF at = offset * scale;
    const QSizeF drawn = m_picture * scale;
    return at.x() < m_area.width() && at.x() + drawn.width() > 0 && at.y() < m_area.height() &&
           at.y() + drawn.height() > 0;
}

QPointF MapFrame::keptInView(QPointF offset, double scale) const
{
    if (m_picture.isEmpty())
        return offset;
    const QPointF at = offset * scale;
    const QSizeF drawn = m_picture * scale;
    const QPointF kept(axisKept(at.x(), drawn.width(), m_area.width()),
                       axisKept(at.y(), drawn.height(), m_area.height()));
    // An axis within its bounds keeps its value exactly.
    return {kept.x() == at.x() ? offset.x() : kept.x() / scale,
            kept.y() == at.y() ? offset.y() : kept.y() / scale};
}

QPointF MapFrame::covering(QPointF offset, double scale) const
{
    if (m_picture.isEmpty())
        return offset;
    const QPointF at = offset * scale;
    const QSizeF drawn = m_picture * scale;
    const QPointF covered(axisCovering(at.x(), drawn.width(), m_area.width()),
                          axisCovering(at.y(), drawn.height(), m_area.height()));
    return {covered.x() == at.x() ? offset.x() : covered.x() / scale,
            covered.y() == at.y() ? offset.y() : covered.y() / scale};
}

int MapFrame::fittingLevel(const QRectF& box, double margin, int fromLevel) const
{
    for (int level = MapScale::clamp(fromLevel); level < MapScale::kSmallest; ++level) {
        const double s = MapScale::factor(level);
        if (box.width() * s + 2 * margin <= m_area.width() &&
            box.height() * s + 2 * margin <= m_area.height())
            return level;
    }
    return MapScale::kSmallest;
}

QPointF MapFrame::centredOn(QPointF point, double scale) const
{
    const QPointF middle(m_area.width() / 2, m_area.height() / 2);
    return covering(offsetPutting(point, middle, scale), scale);
}

} // namespace moravelt
