// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace moravelt {

class MapDatabase;

// Where each town's dot lies on the map picture ("tbl_座標" x and y, twips over the picture).
class TownPlaces
{
public:
    // Reads the whole table once; throws MoraveltError on a failed query.
    static TownPlaces load(const MapDatabase& cn);
    explicit TownPlaces(QHash<QString, QPointF> places = {}) : m_places(std::move(places)) {}

    // The dots of a route string's towns in travel order; towns not on the map are left out.
    std::vector<QPointF> routePoints(const QString& route) const;
    // The town's dot, if it is on the map.
    std::optional<QPointF> place(const QString& town) const;

private:
    QHash<QString, QPointF> m_places;
};

} // namespace moravelt
