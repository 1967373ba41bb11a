// SPDX-License-Identifier: MIT

#include "extractcoastcommand.h"

#include "base/moravelterror.h"
#include "coastlinefile.h"
#include "commandoptions.h"
#include "ringclipper.h"
#include "topojsondecoder.h"

#include <QFile>
#include <QTextStream>
#include <cmath>

namespace moravelt {

namespace {

// Reaches well beyond the picture and the inset in every direction, so the cut edges
// never show.
const QRectF extractRegion(QPointF(118, 21), QPointF(156, 50));

// Japanese maps draw the islands north-east of Shiretoko as Japan.
bool drawnAsJapan(const LandPolygon& polygon)
{
    if (polygon.country == QStringLiteral("Japan"))
        return true;
    if (polygon.country != QStringLiteral("Russia") || polygon.rings.isEmpty())
        return false;
    const QRectF box = polygon.rings.first().boundingRect();
    return QRectF(QPointF(145.3, 43.2), QPointF(149.0, 45.7)).contains(box);
}

// Drops the points that fall together once written with four decimals.
QPolygonF rounded(const QPolygonF& ring)
{
    QPolygonF result;
    for (const QPointF& p : ring) {
        const QPointF r(std::round(p.x() * 1e4) / 1e4, std::round(p.y() * 1e4) / 1e4);
        if (result.isEmpty() || result.last() != r)
            result << r;
    }
    return result;
}

std::vector<LandPolygon> extract(const std::vector<LandPolygon>& world)
{
    const RingClipper clipper(extractRegion);
    std::vector<LandPolygon> result;
    for (const LandPolygon& polygon : world) {
        LandPolygon kept{polygon.country, drawnAsJapan(polygon), {}};
        for (qsizetype i = 0; i < polygon.rings.size(); ++i) {
            const QPolygonF ring = rounded(clipper.clip(polygon.rings[i]));
            if (ring.size() >= 3)
                kept.rings << ring;
            else if (i == 0)
                break; // nothing of the outline is left, so neither are its holes
        }
        if (!kept.rings.isEmpty())
            result.push_back(kept);
    }
    return result;
}

} // namespace

int runExtractCoastCommand(const QStringList& args)
{
    QTextStream err(stderr);
    CommandOptions options(args, {QStringLiteral("topojson"), QStringLiteral("out")});
    if (!options.require({QStringLiteral("topojson"), QStringLiteral("out")})) {
        err << "extract-coast: " << options.error()
            << "\nusage: moravelt-map extract-coast --topojson FILE --out FILE\n";
        return 2;
    }
    try {
        QFile in(options.value(QStringLiteral("topojson")));
        if (!in.open(QIODevice::ReadOnly))
            throw MoraveltError(in.fileName() + QStringLiteral(": ") + in.errorString());
        const std::vector<LandPolygon> land =
            extract(TopoJsonDecoder().decode(in.readAll(), QStringLiteral("countries")));
        CoastlineFile::write(
            options.value(QStringLiteral("out")), land,
            {QStringLiteral("Land for the map picture. Made with Natural Earth. Free vector and "
                            "raster map data @ naturalearthdata.com (public domain),"),
             QStringLiteral("taken from countries-10m.json of world-atlas 2.0.2 and cut to "
                            "118..156E, 21..50N by:"),
             QStringLiteral("moravelt-map extract-coast --topojson countries-10m.json --out "
                            "coast.txt")});
        int points = 0;
        for (const LandPolygon& polygon : land)
            for (const QPolygonF& ring : polygon.rings)
                points += int(ring.size());
        QTextStream(stdout) << "extract-coast: " << land.size() << " polygons, " << points
                            << " points\n";
        return 0;
    } catch (const MoraveltError& e) {
        err << "extract-coast: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
