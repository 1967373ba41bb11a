// SPDX-License-Identifier: MIT

#include "navi/routestring.h"

#include "navi/roadgraph.h"

namespace moravelt::RouteString {

std::int64_t wholeKm(std::int64_t microKm)
{
    // Distances are never negative (the road graph refuses them), so this rounds halves up;
    // written so that the largest total does not overflow.
    const std::int64_t whole = microKm / RoadGraph::kMicroPerKm;
    return whole + (microKm % RoadGraph::kMicroPerKm >= RoadGraph::kMicroPerKm / 2 ? 1 : 0);
}

QString formatTotal(std::int64_t microKm)
{
    return QString::number(wholeKm(microKm)).rightJustified(5, u'0');
}

QString make(std::int64_t microKm, const QStringList& towns)
{
    QString route = formatTotal(microKm);
    for (const QString& town : towns)
        route += u'-' + town;
    return route;
}

QStringList split(const QString& route)
{
    return route.split(u'-');
}

bool isWellFormed(const QString& route)
{
    const QStringList parts = split(route);
    if (parts.size() < 2 || parts.first().isEmpty())
        return false;
    for (const QChar c : parts.first()) {
        if (c < u'0' || c > u'9')
            return false;
    }
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].isEmpty())
            return false;
    }
    return true;
}

} // namespace moravelt::RouteString
