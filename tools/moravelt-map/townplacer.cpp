// SPDX-License-Identifier: MIT

#include "townplacer.h"

#include <cstdlib>

namespace moravelt {

std::vector<PlacedTown> TownPlacer::place(const WorldData& world)
{
    std::vector<PlacedTown> placed;
    for (const WorldTown& town : world.towns) {
        if (!town.hasPosition)
            continue;
        PlacedTown p;
        p.town = &town;
        p.inset = MapLayout::belongsToInset(town.lat, town.lon);
        const QPointF raw = m_layout.pixel(town.lat, town.lon);
        // The dot is drawn where the stored whole twips say, so the hit test finds it exactly.
        p.twips = QPoint(qRound(raw.x() * twipsPerPixel), qRound(raw.y() * twipsPerPixel));
        p.pixel = QPointF(p.twips) / twipsPerPixel;
        if (checkOnPicture(p))
            placed.push_back(p);
    }
    checkSpacing(placed);
    return placed;
}

bool TownPlacer::checkOnPicture(const PlacedTown& p)
{
    const QRectF picture(QPointF(0, 0), QSizeF(m_layout.pictureSize()));
    const QRectF inset = m_layout.insetBox();
    if (!picture.contains(p.pixel)) {
        m_diag.error(p.town->at,
                     QStringLiteral("\"%1\" lies outside the map picture").arg(p.town->name));
        return false;
    }
    if (p.inset && !inset.contains(p.pixel)) {
        m_diag.error(p.town->at, QStringLiteral("\"%1\" lies outside the inset box of the "
                                                "Nansei islands")
                                     .arg(p.town->name));
        return false;
    }
    if (!p.inset && inset.contains(p.pixel)) {
        m_diag.error(p.town->at, QStringLiteral("\"%1\" lies under the inset box of the "
                                                "Nansei islands")
                                     .arg(p.town->name));
        return false;
    }
    return true;
}

void TownPlacer::checkSpacing(const std::vector<PlacedTown>& placed)
{
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const QPoint d = placed[i].twips - placed[j].twips;
            if (std::abs(d.x()) <= hitSquare && std::abs(d.y()) <= hitSquare)
                m_diag.error(placed[i].town->at,
                             QStringLiteral("\"%1\" lies within one hit square of \"%2\" (line %3) "
                                            "on the picture: %4, %5 pixels apart")
                                 .arg(placed[i].town->name, placed[j].town->name)
                                 .arg(placed[j].town->at.line)
                                 .arg(std::abs(d.x()) / double(twipsPerPixel))
                                 .arg(std::abs(d.y()) / double(twipsPerPixel)));
        }
    }
}

} // namespace moravelt
