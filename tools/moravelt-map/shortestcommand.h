// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// Whether "route" was asked for the shortest routes rather than the step-wise search.
bool asksForShortestRoutes(const QStringList& args);

// moravelt-map route --shortest K --db FILE DEPARTURE DESTINATION
// Prints the K shortest loopless routes as route strings, shortest first, one a line, as the
// game's "最短ルート" lists them.
int runShortestRouteCommand(const QStringList& args);

} // namespace moravelt
