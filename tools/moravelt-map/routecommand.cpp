// SPDX-License-Identifier: MIT

#include "routecommand.h"

#include "shortestcommand.h"

#include "base/moravelterror.h"
#include "mapconnection.h"
#include "mapdb/mapdatabase.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"
#include "navilist/routelistmodel.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace moravelt {

namespace {

const char* const kUsage =
    "usage: moravelt-map route --db FILE [--level N] [--steps K] [--keep N] [--list]\n"
    "                          DEPARTURE DESTINATION\n"
    "  --level N  precision level 0 (roughest) to 4 (best), 1 when left out\n"
    "  --steps K  stop after step K (steps count from 0)\n"
    "  --keep N   routes the route list keeps, 1000000 when left out\n"
    "  --list     after the search, the route list as the game shows it, one route a line,\n"
    "             instead of each step's routes\n";

QString endLine(const SearchStep& step, const SearchLimits& limits)
{
    switch (step.stop) {
    case SearchStop::StateCap:
        return QStringLiteral("end: cap of %1 search states reached before step %2")
            .arg(limits.maxStates)
            .arg(step.index);
    case SearchStop::MemoryBudget:
        return QStringLiteral("end: memory budget of %1 MiB reached in step %2")
            .arg(qulonglong(limits.memoryBudget >> 20))
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
    parser.addOption({QStringLiteral("list"), QString()});
    parser.addOption({QStringLiteral("keep"), QString(), QStringLiteral("N")});
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
        if (parser.isSet(QStringLiteral("keep")) &&
            parser.value(QStringLiteral("keep")).toInt(&ok) < 1)
            ok = false;
        if (!ok)
            return QStringLiteral("--keep must be 1 or more");
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
        SearchLimits limits;
        if (parser.isSet(QStringLiteral("keep")))
            limits.maxRoutes = parser.value(QStringLiteral("keep")).toInt();
        const bool listAtEnd = parser.isSet(QStringLiteral("list"));
        RouteSearch search(graph, departure, destination,
                           parser.value(QStringLiteral("level")).toInt(), limits);
        // The list as the game builds it: each step sorted and merged in, the first
        // maxRoutes kept.
        RouteListModel list;
        const auto printList = [&] {
            out << "list: " << list.count() << " routes\n";
            for (int row = 0; row < list.count(); ++row)
                out << list.text(row) << '\n';
        };
        for (;;) {
            SearchStep step = search.step();
            if (step.found()) {
                out << "step " << step.index;
                if (listAtEnd)
                    out << ": " << step.routes.size() << " routes";
                out << '\n';
                for (int i = 0; i < step.routes.size() && !listAtEnd; ++i)
                    out << step.routes.text(i) << '\n';
            }
            if (step.listFilled)
                out << "list full in step " << step.index << ": " << limits.maxRoutes
                    << " routes; from here on the shortest are kept\n";
            if (listAtEnd) {
                step.routes.sortTextOrder();
                RouteListModel::Merge merge = list.startMerge();
                merge.prepare(std::make_shared<const RouteBatch>(std::move(step.routes)), nullptr,
                              limits.maxRoutes);
                list.addRoutes(std::move(merge));
            }
            const bool stopped = step.index == lastStep;
            if (search.isOver() || stopped) {
                out << (search.isOver()
                            ? endLine(step, limits)
                            : QStringLiteral("end: stopped after step %1").arg(step.index))
                    << '\n';
                if (listAtEnd)
                    printList();
                return 0;
            }
        }
    } catch (const MoraveltError& e) {
        err << "route: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
