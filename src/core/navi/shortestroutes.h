// SPDX-License-Identifier: MIT

#pragma once

#include "navi/townpaircheck.h"

#include <QString>
#include <QStringList>
#include <atomic>

namespace moravelt {

class RoadGraph;

// "最短ルート": the k shortest loopless routes between two towns as route strings, shortest
// first; routes of equal length in the route list's text order.
namespace ShortestRoutes {

constexpr int kCount = 10;

// Throws MoraveltError with a message for the player (TownPairCheck's) when a town is missing,
// unknown or a hidden town (one of `hidden`), when both are the same town, or when no route
// joins them. Exactly k routes when that many exist: ties at the k-th place go by the text.
// Once `cancel` is set it returns nothing soon.
QStringList find(const RoadGraph& graph, const QString& departure, const QString& destination,
                 int k, const TownPairCheck::HiddenRoads& hidden,
                 const std::atomic<bool>* cancel = nullptr);
inline QStringList find(const RoadGraph& graph, const QString& departure,
                        const QString& destination, int k = kCount,
                        const std::atomic<bool>* cancel = nullptr)
{
    return find(graph, departure, destination, k, TownPairCheck::HiddenRoads{}, cancel);
}

} // namespace ShortestRoutes

} // namespace moravelt
