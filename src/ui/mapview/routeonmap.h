// SPDX-License-Identifier: MIT

#pragma once

#include "lookup/townplaces.h"

#include <QObject>

class QAbstractItemView;
class QWidget;

namespace moravelt {

class MapImage;

// Keeps the map in step with the route list: the selected route is drawn over the picture
// (an empty list or a new search takes it away), the drawing can be switched off, and a
// chosen route is brought into the middle of the map window.
class RouteOnMap : public QObject
{
    Q_OBJECT
public:
    RouteOnMap(MapImage& image, QWidget& mapWindow, QAbstractItemView& routeList, TownPlaces places,
               QObject* parent = nullptr);

    // Draws the route of the list's current row, or none.
    void showSelected();
    void setShown(bool shown);
    // Moves the picture so that the route's box is in the middle of the map window, or its
    // departure when the box does not fit; left and top as whole twips.
    void centre(const QString& route);
    // A journey's stop: the town's dot marked and brought into the middle of the map window.
    // A town that is not on the map takes the mark away and leaves the map where it is.
    void markStop(const QString& town);
    void clearStop();

private:
    // Moves the picture so that a point in twips over it is in the middle of the map window.
    void bringToMiddle(QPointF twips);

    MapImage& m_image;
    QWidget& m_window;
    QAbstractItemView& m_list;
    TownPlaces m_places;
};

} // namespace moravelt
