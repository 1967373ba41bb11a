// SPDX-License-Identifier: MIT

#pragma once

#include "lookup/townplaces.h"

#include <QObject>
#include <array>
#include <memory>

class QAction;
class QMenu;

namespace moravelt {

class Form1;
class MapNavigator;
class RouteOnMap;
class TownFindBox;
class TownNameIndex;

// The map window's view commands, on the menu bar after the others: the "表示" menu (拡大,
// 縮小 and the four scales, 1/1 to 1/8), "地名検索" with its box, and the route drawn over the
// map. The zoom level and the route switch "ルートを地図に表示" are kept between runs outside
// "Moravelt.ini", in ExtraSettings as "map/zoom" (the scale's denominator) and
// "map/routeOnMap"; missing or damaged values mean 1:1 and the route shown.
class MapCommands : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kZoomKey = "map/zoom";
    static constexpr const char* kRouteKey = "map/routeOnMap";

    // Builds the menus on the main window's menu bar and restores the stored level and switch.
    explicit MapCommands(Form1& main);
    ~MapCommands() override;

    MapNavigator& navigator() const { return *m_navigator; }
    QMenu* viewMenu() const { return m_viewMenu; }
    QAction* zoomInItem() const { return m_zoomIn; }
    QAction* zoomOutItem() const { return m_zoomOut; }
    // The entry of a level: 0 is 1/1, 3 is 1/8.
    QAction* levelItem(int level) const { return m_levels.at(std::size_t(level)); }
    QAction* findItem() const { return m_find; }
    TownFindBox& findBox() const { return *m_findBox; }
    // The route drawn over the map; only while the map is open.
    RouteOnMap* routeOnMap() const { return m_routeOnMap; }

    // Once the map is open: the route list's route over the map, the towns to find and their
    // dots. The places and names come from the open map.
    void openMap(const TownPlaces& places, std::shared_ptr<const TownNameIndex> names);
    // Lets go of what refers to the navi list window.
    void closeMap();
    // Brings the town into the middle of the map at 1:1 and makes it the current town as a
    // hover over its dot would; the pointer goes onto the dot, so a right click offers
    // "出発地"/"目的地" at once.
    void showTown(const QString& town);

private:
    void buildMenus();
    void levelChanged(int level);

    Form1& m_main;
    MapNavigator* m_navigator;
    TownFindBox* m_findBox;
    RouteOnMap* m_routeOnMap = nullptr;
    TownPlaces m_places;
    QMenu* m_viewMenu = nullptr;
    QAction* m_zoomIn = nullptr;
    QAction* m_zoomOut = nullptr;
    std::array<QAction*, 4> m_levels{};
    QAction* m_find = nullptr;
};

} // namespace moravelt
