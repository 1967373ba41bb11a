// SPDX-License-Identifier: MIT

#include "worldvalidator.h"

#include "ferrysourcecheck.h"
#include "hiddentowncheck.h"
#include "quizcheck.h"
#include "roadnetworkcheck.h"
#include "townindex.h"

#include <QHash>

namespace moravelt {

void WorldValidator::validate(const WorldData& world)
{
    const TownIndex index(world);
    checkUniqueNames(world);
    RoadNetworkCheck(index, m_diag).run(world);
    HiddenTownCheck(index, m_diag).run(world);
    QuizCheck(index, m_diag).run(world);
    FerrySourceCheck(m_diag).run(world);
}

void WorldValidator::checkUniqueNames(const WorldData& world)
{
    QHash<QString, int> firstLine;
    for (const WorldTown& town : world.towns) {
        const auto found = firstLine.constFind(town.name);
        if (found != firstLine.constEnd())
            m_diag.error(town.at, QStringLiteral("duplicate name \"%1\" (first at line %2)")
                                      .arg(town.name)
                                      .arg(*found));
        else
            firstLine.insert(town.name, town.at.line);
    }
}

} // namespace moravelt
