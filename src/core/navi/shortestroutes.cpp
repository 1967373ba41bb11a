// SPDX-License-Identifier: MIT

#include "navi/shortestroutes.h"

#include "base/moravelterror.h"
#include "navi/kshortestpaths.h"
#include "navi/roadgraph.h"
#include "navi/routestring.h"

#include <algorithm>

namespace moravelt::ShortestRoutes {

QStringList find(const RoadGraph& graph, const QString& departure, const QString& destination,
                 int k, const TownPairCheck::HiddenRoads& hidden, const std::atomic<bool>* cancel)
{
    const TownPairCheck::Finding finding =
        TownPairCheck(graph, hidden).check(departure, destination);
    if (finding.reason != TownPairCheck::Reason::None)
        throw MoraveltError(finding.message);
    const int from = graph.townId(departure);
    const int to = graph.townId(destination);

    struct Found
    {
        std::int64_t microKm;
        QString route;
    };
    std::vector<Found> found;
    const std::vector<TownPath> paths = KShortestPaths(graph).find(from, to, k, cancel);
    if (cancel != nullptr && cancel->load())
        return {};
    for (const TownPath& path : paths) {
        QStringList towns;
        towns.reserve(qsizetype(path.towns.size()));
        for (const std::int32_t town : path.towns)
            towns << graph.townName(town);
        found.push_back({path.microKm, RouteString::make(path.microKm, towns)});
    }
    if (found.empty())
        throw MoraveltError(
            QStringLiteral("「%1」から「%2」へのルートはありません").arg(departure, destination));
    // Equal lengths have equal totals in front, so the text decides as it does in the list.
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.microKm != b.microKm ? a.microKm < b.microKm : a.route < b.route;
    });
    QStringList routes;
    for (std::size_t i = 0; i < found.size() && i < std::size_t(k); ++i)
        routes << found[i].route;
    return routes;
}

} // namespace moravelt::ShortestRoutes
