// SPDX-License-Identifier: MIT

#pragma once

#include "lookup/townplaces.h"

#include <QObject>

class QAbstractItemView;

namespace moravelt {

class MapImage;
class MapNavigator;

// Keeps the map in step with the route list: the selected route is drawn over the picture
// (an empty list or a new search takes it away), the drawing can be switched off, and a
// chosen route is fitted to the map window.
class RouteOnMap : public QObject
{
    Q_OBJECT
public:
    RouteOnMap(MapNavigator& navigator, QAbstractItemView& routeList, TownPlaces places,
               QObject* parent = nullptr);

    // Draws the route of the list's current row, or none.
    void showSelected();
    void setShown(bool shown);
    // Zooms out, when needed, until the route's towns fit the map window with a margin, and
    // brings them into its middle; left and top as whole twips.
    void centre(const QString& route);
    // A journey's stop: the town's dot marked and brought into the middle of the map window.
    // A town that is not on the map takes the mark away and leaves the map where it is.
    void markStop(const QString& town);
    void clearStop();

private:
    MapNavigator& m_navigator;
    MapImage& m_image;
    QAbstractItemView& m_list;
    TownPlaces m_places;
};

} // namespace moravelt
