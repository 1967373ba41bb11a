// SPDX-License-Identifier: MIT

#include "routecommand.h"

#include "shortestcommand.h"

#include "base/moravelterror.h"
#include "mapconnection.h"
#include "mapdb/mapdatabase.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace moravelt {

namespace {

const char* const kUsage =
    "usage: moravelt-map route --db FILE [--level N] [--steps K] DEPARTURE DESTINATION\n"
    "  --level N  precision level 0 (roughest) to 4 (best), 1 when left out\n"
    "  --steps K  stop after step K (steps count from 0)\n";

QString endLine(const SearchStep& step, const SearchLimits& limits)
{
    switch (step.stop) {
    case SearchStop::StateCap:
        return QStringLiteral("end: cap of %1 search states reached before step %2")
            .arg(limits.maxStates)
            .arg(step.index);
    case SearchStop::RouteCap:
        return QStringLiteral("end: cap of %1 routes reached in step %2")
            .arg(limits.maxRoutes)
            .arg(step.index);
    case SearchStop::TimeBudget:
        return QStringLiteral("end: time limit of %1 ms reached in step %2")
            .arg(limits.timeBudget.count())
            .arg(step.index);
    case SearchStop::Cancelled:
    case SearchStop::None:
        break;
    }
    return QStringLiteral("end: frontier exhausted after step %1").arg(step.index);
}

} // namespace

int runRouteCommand(const QStringList& args)
{
    if (asksForShortestRoutes(args))
        return runShortestRouteCommand(args);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("db"), QString(), QStringLiteral("FILE")});
    parser.addOption(
        {QStringLiteral("level"), QString(), QStringLiteral("N"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("steps"), QString(), QStringLiteral("K")});
    // The first fault in the arguments, or nothing.
    const auto argumentFault = [&]() -> QString {
        if (!parser.parse(QStringList{QStringLiteral("moravelt-map route")} + args))
            return parser.errorText();
        if (!parser.isSet(QStringLiteral("db")))
            return QStringLiteral("--db is missing");
        if (parser.positionalArguments().size() != 2)
            return QStringLiteral("give the departure and the destination");
        bool ok = false;
        const int level = parser.value(QStringLiteral("level")).toInt(&ok);
        if (!ok || level < 0 || level > 4)
            return QStringLiteral("--level must be 0 to 4");
        if (parser.isSet(QStringLiteral("steps")) &&
            parser.value(QStringLiteral("steps")).toInt(&ok) < 0)
            ok = false;
        if (!ok)
            return QStringLiteral("--steps must be a step number, 0 or more");
        return {};
    };
    if (const QString fault = argumentFault(); !fault.isEmpty()) {
        err << "route: " << fault << '\n' << kUsage;
        return 2;
    }
    const int lastStep =
        parser.isSet(QStringLiteral("steps")) ? parser.value(QStringLiteral("steps")).toInt() : -1;
    const QString departure = parser.positionalArguments().at(0);
    const QString destination = parser.positionalArguments().at(1);
    try {
        const MapDatabase cn(mapConnectionString(parser.value(QStringLiteral("db"))));
        const RoadGraph graph = RoadGraph::load(cn);
        for (const QString& town : {departure, destination}) {
            if (graph.townId(town) < 0) {
                err << "route: unknown town \"" << town << "\": it is on no road\n";
                return 1;
            }
        }
        const SearchLimits limits;
        RouteSearch search(graph, departure, destination,
                           parser.value(QStringLiteral("level")).toInt(), limits);
        for (;;) {
            const SearchStep step = search.step();
            if (step.found()) {
                out << "step " << step.index << '\n';
                for (int i = 0; i < step.routes.size(); ++i)
                    out << step.routes.text(i) << '\n';
            }
            if (search.isOver()) {
                out << endLine(step, limits) << '\n';
                return 0;
            }
            if (step.index == lastStep) {
                out << "end: stopped after step " << step.index << '\n';
                return 0;
            }
        }
    } catch (const MoraveltError& e) {
        err << "route: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
