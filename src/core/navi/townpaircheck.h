// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace moravelt {

class RoadGraph;

// Why a departure and a destination give no route, in words for the player. A search needs
// two different towns that roads join: an empty box, a name the roads do not know and a
// hidden town (which lies on a road, between towns) are told apart, the departure first.
class TownPairCheck
{
public:
    enum class Reason
    {
        None,
        EmptyDeparture,
        EmptyDestination,
        UnknownDeparture,
        UnknownDestination,
        HiddenDeparture,
        HiddenDestination,
        SameTown,
        NoRoute,
    };
    struct Finding
    {
        Reason reason = Reason::None;
        QString message; // empty for Reason::None
    };
    // The hidden towns among the names looked at, each with the roads it lies on as
    // "出発－目的地" (none for a hidden town known only by its event).
    using HiddenRoads = QHash<QString, QStringList>;

    TownPairCheck(const RoadGraph& graph, HiddenRoads hidden);

    // The first reason the pair cannot be searched, or Reason::None.
    Finding check(const QString& departure, const QString& destination) const;

    // A search at the precision named by `precision` ended without a route.
    static Finding noRoute(const QString& departure, const QString& destination,
                           const QString& precision);

private:
    Finding checkOne(const QString& name, bool departure) const;

    const RoadGraph& m_graph;
    HiddenRoads m_hidden;
};

} // namespace moravelt
