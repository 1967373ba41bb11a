#include "hiddentowncheck.h"

#include <QHash>
#include <QSet>

namespace moravelt {

namespace {

QString legKey(const QString& from, const QString& to, const QString& hidden)
{
    return from + QChar(0x2192) + to + QLatin1Char('/') + hidden;
}

} // namespace

void HiddenTownCheck::run(const WorldData& world)
{
    checkLegs(world);
    checkEvents(world);
    checkEveryHiddenTown(world);
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
