// SPDX-License-Identifier: MIT

#include "lookup/townplaces.h"

#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "navi/routestring.h"

namespace moravelt {

TownPlaces TownPlaces::load(const MapDatabase& cn)
{
    const RecordsetPtr rows = cn.open(QueryTexts::townPlaces());
    QHash<QString, QPointF> places;
    places.reserve(rows->rowCount());
    for (int i = 0; i < rows->rowCount(); ++i) {
        const QVariantList& row = rows->row(i);
        // The first row of a name is the one the hit test finds first.
        const QString name = row.value(0).toString();
        if (!places.contains(name))
            places.insert(name, {row.value(1).toDouble(), row.value(2).toDouble()});
    }
    return TownPlaces(std::move(places));
}

std::vector<QPointF> TownPlaces::routePoints(const QString& route) const
{
    std::vector<QPointF> points;
    const QStringList parts = RouteString::split(route);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const auto found = m_places.constFind(parts[i]);
        if (found != m_places.constEnd())
            points.push_back(found.value());
    }
    return points;
}

std::optional<QPointF> TownPlaces::place(const QString& town) const
{
    const auto found = m_places.constFind(town);
    if (found == m_places.constEnd())
        return std::nullopt;
    return found.value();
}

} // namespace moravelt
