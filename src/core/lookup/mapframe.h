// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace moravelt {

// Where the map picture stands in the map area at a zoom level, and how far it may go. An offset
// is the full-scale picture's left and top in twips within the area, as "Moravelt.ini" keeps it:
// at scale s the picture is drawn s times its size with its top-left at s × offset, so the
// point of the map at the area's top-left is the same at every level. Points of the picture are
// full-scale twips, the frame of "tbl_座標"; area points are twips from the area's top-left.
class MapFrame
{
public:
    // The full-scale picture's size and the map area's size, in twips.
    MapFrame(QSizeF picture, QSizeF area) : m_picture(picture), m_area(area) {}

    QSizeF picture() const { return m_picture; }
    QSizeF area() const { return m_area; }

    // The picture point under an area point.
    static QPointF pictureAt(QPointF areaPoint, QPointF offset, double scale);
    // The offset that puts a picture point under an area point.
    static QPointF offsetPutting(QPointF picturePoint, QPointF areaPoint, double scale);
    // The offset at another scale that keeps the picture point under the anchor where it is.
    static QPointF zoomedAbout(QPointF offset, QPointF anchor, double from, double to);

    // Whether any of the picture lies in the area.
    bool showsMap(QPointF offset, double scale) const;
    // The nearest offset that leaves map over at least half the area's width and half its
    // height, so a quarter of the area or more, or the whole picture where it is smaller. An
    // offset that already does is returned unchanged.
    QPointF keptInView(QPointF offset, double scale) const;
    // The nearest offset that leaves no empty band past the picture's edge where the picture
    // can fill the area; along an axis where it cannot, the picture stands in the middle.
    QPointF covering(QPointF offset, double scale) const;

    // The largest level, from `fromLevel` down to the smallest, at which the box (picture
    // twips) fits the area with `margin` twips to spare on every side; the smallest level when
    // none does.
    int fittingLevel(const QRectF& box, double margin, int fromLevel) const;
    // The offset that puts the point in the middle of the area, then covers the area.
    QPointF centredOn(QPointF point, double scale) const;

private:
    QSizeF m_picture;
    QSizeF m_area;
};

} // namespace moravelt
