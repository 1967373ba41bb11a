// SPDX-License-Identifier: MIT

#pragma once

#include "landpolygon.h"
#include "maplayout.h"
#include "townplacer.h"
#include "worlddata.h"

#include <QHash>
#include <QImage>
#include <QPainter>

namespace moravelt {

// Paints the map picture: sea and land, the roads and ferries, the visible towns with their
// names, the inset of the Nansei islands and the title box. Hidden towns are not drawn.
// Needs a QGuiApplication for its fonts.
class MapRenderer
{
public:
    MapRenderer(const MapLayout& layout, const std::vector<LandPolygon>& land)
        : m_layout(layout), m_land(land)
    {
    }

    QImage render(const WorldData& world, const std::vector<PlacedTown>& towns) const;

private:
    using PlacedByName = QHash<QString, const PlacedTown*>;

    void drawMainFrame(QPainter& painter) const;
    void drawAreaNames(QPainter& painter) const;
    void drawInset(QPainter& painter) const;
    void drawRoads(QPainter& painter, const WorldData& world, const PlacedByName& placed,
                   bool inset) const;
    void drawTowns(QPainter& painter, const std::vector<PlacedTown>& towns) const;
    void drawLabels(QPainter& painter, const std::vector<PlacedTown>& towns) const;
    void drawAttribution(QPainter& painter) const;
    double dotRadius() const;

    const MapLayout& m_layout;
    const std::vector<LandPolygon>& m_land;
};

} // namespace moravelt
