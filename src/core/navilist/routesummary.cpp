// SPDX-License-Identifier: MIT

#include "navilist/routesummary.h"

#include "navi/routestring.h"

namespace moravelt::RouteSummary {

QString text(const QString& route)
{
    if (!RouteString::isWellFormed(route))
        return {};
    const QStringList parts = RouteString::split(route);
    // The total as the route list shows it, without its padding; digits of any length.
    QString total = parts.first();
    while (total.size() > 1 && total.front() == u'0')
        total.remove(0, 1);
    return QStringLiteral("合計 %1 km・%2 区間").arg(total).arg(parts.size() - 2);
}

} // namespace moravelt::RouteSummary
