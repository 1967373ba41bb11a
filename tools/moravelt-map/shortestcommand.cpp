// SPDX-License-Identifier: MIT

#include "shortestcommand.h"

#include "base/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "navi/roadgraph.h"
#include "navi/shortestroutes.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace moravelt {

namespace {

const char* const kUsage =
    "usage: moravelt-map route --shortest K --db FILE DEPARTURE DESTINATION\n"
    "  --shortest K  the K shortest routes without a town twice, shortest first\n";

} // namespace

bool asksForShortestRoutes(const QStringList& args)
{
    return std::any_of(args.begin(), args.end(), [](const QString& arg) {
        return arg == QLatin1String("--shortest") || arg.startsWith(QLatin1String("--shortest="));
    });
}

int runShortestRouteCommand(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("db"), QString(), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("shortest"), QString(), QStringLiteral("K")});
    bool ok = false;
    QString fault;
    if (!parser.parse(QStringList{QStringLiteral("moravelt-map route")} + args))
        fault = parser.errorText();
    else if (!parser.isSet(QStringLiteral("db")))
        fault = QStringLiteral("--db is missing");
    else if (parser.positionalArguments().size() != 2)
        fault = QStringLiteral("give the departure and the destination");
    const int k = parser.value(QStringLiteral("shortest")).toInt(&ok);
    if (fault.isEmpty() && (!ok || k < 1 || k > 1000))
        fault = QStringLiteral("--shortest must be 1 to 1000");
    if (!fault.isEmpty()) {
        err << "route: " << fault << '\n' << kUsage;
        return 2;
    }
    try {
        // Any file name will do: the connection string names it directly.
        const MapDatabase cn(
            QStringLiteral("Data Source=%1;")
                .arg(QFileInfo(parser.value(QStringLiteral("db"))).absoluteFilePath()));
        const RoadGraph graph = RoadGraph::load(cn);
        if (const QString dropped = graph.droppedRowsMessage(); !dropped.isEmpty())
            err << "route: "
                << QString(dropped).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        const QStringList routes = ShortestRoutes::find(graph, parser.positionalArguments().at(0),
                                                        parser.positionalArguments().at(1), k);
        for (const QString& route : routes)
            out << route << '\n';
        return 0;
    } catch (const MoraveltError& e) {
        err << "route: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
