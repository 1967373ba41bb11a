// SPDX-License-Identifier: MIT

#include "hiddentowncheck.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace moravelt {

namespace {

QString legKey(const QString& from, const QString& to, const QString& hidden)
{
    return from + QChar(0x2192) + to + QLatin1Char('/') + hidden;
}

double greatCircleKm(const WorldTown& a, const WorldTown& b)
{
    constexpr double earthRadiusKm = 6371.0;
    constexpr double radians = M_PI / 180;
    const double dLat = (b.lat - a.lat) * radians;
    const double dLon = (b.lon - a.lon) * radians;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(a.lat * radians) * std::cos(b.lat * radians) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * earthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

// A point along one road: a town at its km from the road's start.
struct Stop
{
    const WorldTown* town;
    int km;
    SourceRef at; // the row that put it there
};

} // namespace

void HiddenTownCheck::run(const WorldData& world)
{
    checkLegs(world);
    checkEvents(world);
    checkEveryHiddenTown(world);
    checkStretches(world);
}

void HiddenTownCheck::checkStretches(const WorldData& world)
{
    QHash<QString, std::vector<Stop>> hiddenOn;
    for (const WorldHiddenLeg& leg : world.hiddenLegs) {
        const WorldTown* town = m_index.find(leg.hidden);
        if (town && town->hasPosition && leg.distance >= 0)
            hiddenOn[leg.from + QChar(0x2192) + leg.to].push_back({town, leg.distance, leg.at});
    }
    // Both directions of a road share their stretches; each short one is reported once.
    QSet<QString> reported;
    for (const WorldRoad& road : world.roads) {
        const WorldTown* from = m_index.find(road.from);
        const WorldTown* to = m_index.find(road.to);
        if (!from || !to || !from->hasPosition || !to->hasPosition || road.km < 0)
            continue;
        // A hidden town beyond the road's end is reported as such.
        std::vector<Stop> stops;
        for (const Stop& stop : hiddenOn.value(road.from + QChar(0x2192) + road.to)) {
            if (stop.km <= road.km)
                stops.push_back(stop);
        }
        std::stable_sort(stops.begin(), stops.end(),
                         [](const Stop& a, const Stop& b) { return a.km < b.km; });
        stops.insert(stops.begin(), Stop{from, 0, road.at});
        // The end is blamed on the row of the last hidden town, or on the road itself.
        stops.push_back(Stop{to, road.km, stops.size() > 1 ? stops.back().at : road.at});
        for (std::size_t i = 1; i < stops.size(); ++i) {
            const Stop& a = stops[i - 1];
            const Stop& b = stops[i];
            const int along = b.km - a.km;
            const double straight = greatCircleKm(*a.town, *b.town);
            if (along >= straight)
                continue;
            const QString first = std::min(a.town->name, b.town->name);
            const QString second = std::max(a.town->name, b.town->name);
            const QString key =
                first + QLatin1Char('/') + second + QLatin1Char('/') + QString::number(along);
            if (reported.contains(key))
                continue;
            reported.insert(key);
            m_diag.error(b.at, QStringLiteral("%1 to %2 is %3 km along %4%5%6 but %7 km in a "
                                              "straight line")
                                   .arg(a.town->name, b.town->name)
                                   .arg(along)
                                   .arg(road.from, QChar(0x2192), road.to)
                                   .arg(straight, 0, 'f', 1));
        }
    }
}

void HiddenTownCheck::checkLegs(const WorldData& world)
{
    QHash<QString, const WorldRoad*> roads;
    for (const WorldRoad& road : world.roads)
        roads.insert(road.from + QChar(0x2192) + road.to, &road);
    QHash<QString, const WorldHiddenLeg*> legs;
    for (const WorldHiddenLeg& leg : world.hiddenLegs) {
        if (!m_index.isHidden(leg.hidden))
            m_diag.error(
                leg.at, QStringLiteral("\"%1\" is not a hidden town of towns.tsv").arg(leg.hidden));
        const WorldRoad* road = roads.value(leg.from + QChar(0x2192) + leg.to, nullptr);
        if (!road) {
            m_diag.error(
                leg.at,
                QStringLiteral("no road %1%2%3 in roads.tsv").arg(leg.from, QChar(0x2192), leg.to));
        } else if (leg.distance >= 0 && road->km >= 0 && leg.distance > road->km) {
            m_diag.error(leg.at, QStringLiteral("distance %1 km lies outside the road's 0..%2 km")
                                     .arg(leg.distance)
                                     .arg(road->km));
        }
        const QString key = legKey(leg.from, leg.to, leg.hidden);
        if (const WorldHiddenLeg* first = legs.value(key, nullptr)) {
            m_diag.error(leg.at,
                         QStringLiteral("duplicate row (first at line %1)").arg(first->at.line));
            continue;
        }
        legs.insert(key, &leg);
        // The row of the other direction, when given, must measure from the other end.
        const WorldHiddenLeg* back = legs.value(legKey(leg.to, leg.from, leg.hidden), nullptr);
        if (back && road && road->km >= 0 && leg.distance >= 0 && back->distance >= 0 &&
            leg.distance + back->distance != road->km)
            m_diag.error(leg.at, QStringLiteral("%1 km here and %2 km at line %3 do not add up "
                                                "to the road's %4 km")
                                     .arg(leg.distance)
                                     .arg(back->distance)
                                     .arg(back->at.line)
                                     .arg(road->km));
    }
}

void HiddenTownCheck::checkEvents(const WorldData& world)
{
    QHash<QString, int> firstLine;
    for (const WorldEvent& event : world.events) {
        if (!m_index.isHidden(event.hidden))
            m_diag.error(
                event.at,
                QStringLiteral("event for \"%1\", which is no hidden town").arg(event.hidden));
        if (firstLine.contains(event.hidden))
            m_diag.error(event.at, QStringLiteral("duplicate event for \"%1\" (first at line %2)")
                                       .arg(event.hidden)
                                       .arg(firstLine.value(event.hidden)));
        else
            firstLine.insert(event.hidden, event.at.line);
    }
}

void HiddenTownCheck::checkEveryHiddenTown(const WorldData& world)
{
    QSet<QString> withEvent;
    for (const WorldEvent& event : world.events)
        withEvent.insert(event.hidden);
    QSet<QString> onRoad;
    for (const WorldHiddenLeg& leg : world.hiddenLegs)
        onRoad.insert(leg.hidden);
    for (const WorldTown& town : world.towns) {
        if (!town.hidden || m_index.find(town.name) != &town)
            continue;
        if (!withEvent.contains(town.name))
            m_diag.error(
                town.at,
                QStringLiteral("hidden town \"%1\" has no event in events.tsv").arg(town.name));
        if (!onRoad.contains(town.name))
            m_diag.error(
                town.at,
                QStringLiteral("hidden town \"%1\" lies on no road in hidden.tsv").arg(town.name));
    }
}

} // namespace moravelt
