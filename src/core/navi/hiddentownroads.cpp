// SPDX-License-Identifier: MIT

#include "navi/hiddentownroads.h"

#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "navi/roadgraph.h"

#include <QSet>

namespace moravelt::HiddenTownRoads {

TownPairCheck::HiddenRoads read(const MapDatabase& map, const RoadGraph& graph,
                                const QStringList& names)
{
    TownPairCheck::HiddenRoads hidden;
    for (const QString& name : names) {
        if (name.isEmpty() || graph.townId(name) >= 0 || hidden.contains(name))
            continue;
        const RecordsetPtr rows = map.open(QueryTexts::hiddenDistances(name));
        QStringList roads;
        QSet<QString> seen;
        for (int r = 0; r < rows->rowCount(); ++r) {
            const QString from = rows->row(r).value(0).toString();
            const QString to = rows->row(r).value(1).toString();
            if (seen.contains(from + u'\n' + to))
                continue;
            seen << from + u'\n' + to << to + u'\n' + from;
            roads << from + QStringLiteral("－") + to;
        }
        if (rows->rowCount() > 0 || map.open(QueryTexts::hiddenEvent(name))->rowCount() > 0)
            hidden.insert(name, roads);
    }
    return hidden;
}

} // namespace moravelt::HiddenTownRoads
