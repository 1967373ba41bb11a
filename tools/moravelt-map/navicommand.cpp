// SPDX-License-Identifier: MIT

#include "navicommand.h"

#include "base/moravelterror.h"
#include "mapconnection.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "navi/roadgraph.h"
#include "navi/routestring.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navicopytext.h"
#include "navilist/navilistbuilder.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace moravelt {

namespace {

const char* const kUsage = "usage: moravelt-map navi --db FILE [--answers] ROUTE\n"
                           "  ROUTE      a route string as the route search lists it, "
                           "e.g. 00123-東京-横浜\n"
                           "  --answers  with the correct quiz answer of each town\n";

bool hasRoad(const RoadGraph& graph, const QString& from, const QString& to)
{
    const int target = graph.townId(to);
    for (const RoadGraph::Road& road : graph.roadsFrom(graph.townId(from)))
        if (road.to == target)
            return true;
    return false;
}

} // namespace

int runNaviCommand(const QStringList& args)
{
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("db"), QString(), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("answers"), QString()});
    if (!parser.parse(QStringList{QStringLiteral("moravelt-map navi")} + args) ||
        !parser.isSet(QStringLiteral("db")) || parser.positionalArguments().size() != 1) {
        err << "navi: "
            << (parser.errorText().isEmpty() ? QStringLiteral("bad arguments") : parser.errorText())
            << '\n'
            << kUsage;
        return 2;
    }
    const QString route = parser.positionalArguments().first();
    if (!RouteString::isWellFormed(route)) {
        err << "navi: malformed route string \"" << route
            << "\": expected digits, then \"-\" and each town\n";
        return 1;
    }
    try {
        const MapDatabase cn(mapConnectionString(parser.value(QStringLiteral("db"))));
        const RoadGraph graph = RoadGraph::load(cn);
        const QStringList towns = RouteString::split(route).mid(1);
        for (const QString& town : towns) {
            if (graph.townId(town) < 0) {
                err << "navi: unknown town \"" << town << "\": it is on no road\n";
                return 1;
            }
        }
        // The game leaves such a leg's cells empty; a map maker is told which leg it is.
        for (qsizetype k = 0; k + 1 < towns.size(); ++k) {
            if (!hasRoad(graph, towns[k], towns[k + 1])) {
                err << "navi: no road from \"" << towns[k] << "\" to \"" << towns[k + 1] << "\"\n";
                return 1;
            }
        }
        QuerySlots rs(cn);
        FlexGridModel grid;
        NaviListBuilder(rs).NaveSet(route, parser.isSet(QStringLiteral("answers")), grid);
        // The clipboard's bytes as they are: tabs and CR LF, in UTF-8.
        const QByteArray text = naviCopyText(grid).toUtf8();
        std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
        std::fflush(stdout);
        return 0;
    } catch (const MoraveltError& e) {
        err << "navi: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
