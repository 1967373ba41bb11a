// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "maplayout.h"
#include "worlddata.h"

#include <QPoint>
#include <vector>

namespace moravelt {

struct PlacedTown
{
    const WorldTown* town = nullptr;
    QPoint twips;  // what the database stores: the dot centre, 15 twips a pixel
    QPointF pixel; // the same point in pixels, where the dot is drawn
    bool inset = false;
};

// Puts every town and hidden town on the picture. Reports towns that fall off the picture
// (or under the inset box) and towns so close that the game's 180-twip hit square would
// find both.
class TownPlacer
{
public:
    static constexpr int twipsPerPixel = 15;
    static constexpr int hitSquare = 180;

    TownPlacer(const MapLayout& layout, Diagnostics& diag) : m_layout(layout), m_diag(diag) {}

    // Towns whose position could not be read are left out.
    std::vector<PlacedTown> place(const WorldData& world);

private:
    bool checkOnPicture(const PlacedTown& placed);
    void checkSpacing(const std::vector<PlacedTown>& placed);

    const MapLayout& m_layout;
    Diagnostics& m_diag;
};

} // namespace moravelt
