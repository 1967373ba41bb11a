// SPDX-License-Identifier: MIT

#include "navi/shortestroutes.h"

#include "base/moravelterror.h"
#include "navi/kshortestpaths.h"
#include "navi/roadgraph.h"
#include "navi/routestring.h"

#include <algorithm>

namespace moravelt::ShortestRoutes {

namespace {

int knownTown(const RoadGraph& graph, const QString& name, const QString& role)
{
    if (name.isEmpty())
        throw MoraveltError(QStringLiteral("%1を入力してください").arg(role));
    const int id = graph.townId(name);
    if (id < 0)
        throw MoraveltError(QStringLiteral("%1「%2」という町は地図にありません").arg(role, name));
    return id;
}

} // namespace

QStringList find(const RoadGraph& graph, const QString& departure, const QString& destination,
                 int k, const std::atomic<bool>* cancel)
{
    const int from = knownTown(graph, departure, QStringLiteral("出発地"));
    const int to = knownTown(graph, destination, QStringLiteral("目的地"));
    if (from == to)
        throw MoraveltError(QStringLiteral("出発地と目的地が同じ町「%1」です").arg(departure));

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
