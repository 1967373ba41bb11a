// SPDX-License-Identifier: MIT

#pragma once

#include "worlddata.h"

#include <QHash>

namespace moravelt {

// Towns and hidden towns by name; the first row of a name wins.
class TownIndex
{
public:
    explicit TownIndex(const WorldData& world)
    {
        for (const WorldTown& town : world.towns) {
            if (!m_byName.contains(town.name))
                m_byName.insert(town.name, &town);
        }
    }

    const WorldTown* find(const QString& name) const { return m_byName.value(name, nullptr); }
    bool isVisible(const QString& name) const
    {
        const WorldTown* town = find(name);
        return town && !town->hidden;
    }
    bool isHidden(const QString& name) const
    {
        const WorldTown* town = find(name);
        return town && town->hidden;
    }

private:
    QHash<QString, const WorldTown*> m_byName;
};

} // namespace moravelt
