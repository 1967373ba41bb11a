// SPDX-License-Identifier: MIT

#include "maprenderer.h"

#include "cartouchepainter.h"
#include "labelplacer.h"
#include "landcrossing.h"
#include "landpainter.h"
#include "mapstyle.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QSet>

namespace moravelt {

namespace {

// A long ferry line over more land than this would be read as a road across the country.
constexpr double kMaxFerryLandShare = 0.2;

// Where the segment from a (outside the box) to b (inside) first meets the box.
QPointF entryPoint(const QPointF& a, const QPointF& b, const QRectF& box)
{
    double t = 1;
    const QPointF d = b - a;
    const auto tryEdge = [&](double num, double den, bool vertical, double fixedFrom,
                             double fixedTo) {
        if (den == 0)
            return;
        const double u = num / den;
        if (u < 0 || u > t)
            return;
        const double other = vertical ? a.y() + d.y() * u : a.x() + d.x() * u;
        if (other >= fixedFrom && other <= fixedTo)
            t = u;
    };
    tryEdge(box.left() - a.x(), d.x(), true, box.top(), box.bottom());
    tryEdge(box.right() - a.x(), d.x(), true, box.top(), box.bottom());
    tryEdge(box.top() - a.y(), d.y(), false, box.left(), box.right());
    tryEdge(box.bottom() - a.y(), d.y(), false, box.left(), box.right());
    return a + d * t;
}

struct AreaName
{
    double lat;
    double lon;
    const char16_t* name;
    bool sea;
};

// Names centred on these points, in the main frame.
const AreaName areaNames[] = {
    {40.2, 134.6, u"日本海", true},       {36.2, 145.0, u"太 平 洋", true},
    {45.1, 145.2, u"オホーツク海", true}, {31.0, 127.5, u"東シナ海", true},
    {36.3, 127.9, u"大韓民国", false},    {44.9, 134.6, u"ロシア", false},
    {44.5, 125.6, u"中国", false},
};

} // namespace

QImage MapRenderer::render(const WorldData& world, const std::vector<PlacedTown>& towns) const
{
    QImage image(m_layout.pictureSize(), QImage::Format_RGB32);
    image.fill(MapStyle::sea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    PlacedByName placed;
    for (const PlacedTown& p : towns)
        placed.insert(p.town->name, &p);

    drawMainFrame(painter);
    drawAreaNames(painter);
    drawRoads(painter, world, placed, false);
    drawInset(painter);
    painter.save();
    painter.setClipRect(m_layout.insetBox());
    drawRoads(painter, world, placed, true);
    painter.restore();
    drawTowns(painter, towns);
    const double margin = 14 * m_layout.scale();
    CartouchePainter(painter, m_layout.scale(), m_layout.pixelsPerKm())
        .paint(m_layout.firstView().adjusted(margin, margin, -margin, -margin));
    drawLabels(painter, towns);
    drawAttribution(painter);
    painter.end();
    return image;
}

void MapRenderer::drawMainFrame(QPainter& painter) const
{
    const LandPainter land(
        painter, [this](double lat, double lon) { return m_layout.mainPixel(lat, lon); },
        m_layout.scale());
    land.drawGraticule(QRectF(QPointF(115, 25), QPointF(160, 50)), 5);
    land.drawLand(m_land, QRectF(QPointF(110, 20), QPointF(160, 55)));
}

void MapRenderer::drawAreaNames(QPainter& painter) const
{
    const double s = m_layout.scale();
    for (const AreaName& area : areaNames) {
        QFont font = MapStyle::font((area.sea ? 34 : 30) * s);
        font.setLetterSpacing(QFont::AbsoluteSpacing, (area.sea ? 10 : 4) * s);
        const QString name = QString::fromUtf16(area.name);
        const QFontMetricsF metrics(font);
        const QPointF centre = m_layout.mainPixel(area.lat, area.lon);
        painter.setFont(font);
        painter.setPen(area.sea ? MapStyle::seaName : MapStyle::countryName);
        painter.drawText(
            centre + QPointF(-metrics.horizontalAdvance(name) / 2, metrics.ascent() / 2), name);
    }
}

void MapRenderer::drawInset(QPainter& painter) const
{
    const double s = m_layout.scale();
    const QRectF box = m_layout.insetBox();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(MapStyle::sea);
    painter.drawRect(box);
    painter.setClipRect(box);
    const LandPainter land(
        painter, [this](double lat, double lon) { return m_layout.insetPixel(lat, lon); }, s);
    const QRectF region = MapLayout::insetRegion();
    land.drawGraticule(region.adjusted(-3, -3, 3, 3), 5);
    land.drawLand(m_land, region.adjusted(-1, -1, 1, 1));
    painter.restore();

    painter.setPen(QPen(MapStyle::frame, 3 * s));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    const QFont caption = MapStyle::font(20 * s, true);
    painter.setFont(caption);
    painter.setPen(MapStyle::ink);
    painter.drawText(box.topLeft() + QPointF(16 * s, 16 * s + QFontMetricsF(caption).ascent()),
                     QStringLiteral("南西諸島"));
}

void MapRenderer::drawRoads(QPainter& painter, const WorldData& world, const PlacedByName& placed,
                            bool inset) const
{
    const double s = m_layout.scale();
    const QPen roadPen(MapStyle::road, MapStyle::roadWidth * s, Qt::SolidLine, Qt::RoundCap);
    QPen ferryPen(MapStyle::ferry, MapStyle::ferryWidth * s, Qt::DashLine, Qt::FlatCap);
    const LandCrossing crossing(m_land);
    QSet<QString> drawn;
    for (const WorldRoad& road : world.roads) {
        const PlacedTown* a = placed.value(road.from, nullptr);
        const PlacedTown* b = placed.value(road.to, nullptr);
        if (!a || !b)
            continue;
        // A long-distance ferry sails round the coast; where its straight line would run
        // across the country it is left off the picture (the information window lists it).
        if (road.ferry && road.km > kLongFerryKm &&
            crossing.landShare({a->town->lon, a->town->lat}, {b->town->lon, b->town->lat}) >
                kMaxFerryLandShare)
            continue;
        // Both directions are listed; draw each pair once.
        const QString key = road.from < road.to ? road.from + QLatin1Char('\t') + road.to
                                                : road.to + QLatin1Char('\t') + road.from;
        if (drawn.contains(key))
            continue;
        drawn.insert(key);
        painter.setPen(road.ferry ? ferryPen : roadPen);
        if (a->inset == inset && b->inset == inset) {
            painter.drawLine(a->pixel, b->pixel);
        } else if (!inset && a->inset != b->inset) {
            // A crossing into the inset runs from the mainland end to the inset's frame.
            const PlacedTown* outer = a->inset ? b : a;
            const PlacedTown* inner = a->inset ? a : b;
            painter.drawLine(outer->pixel,
                             entryPoint(outer->pixel, inner->pixel, m_layout.insetBox()));
        }
    }
}

double MapRenderer::dotRadius() const
{
    // Dots stay visible in small test pictures.
    return std::max(3.0, MapStyle::dotDiameter * m_layout.scale() / 2);
}

void MapRenderer::drawTowns(QPainter& painter, const std::vector<PlacedTown>& towns) const
{
    const double s = m_layout.scale();
    const double r = dotRadius();
    painter.setPen(QPen(MapStyle::townRing, std::max(0.5, MapStyle::dotRingWidth * s)));
    painter.setBrush(MapStyle::townDot);
    for (const PlacedTown& p : towns) {
        if (!p.town->hidden)
            painter.drawEllipse(p.pixel, r, r);
    }
}

void MapRenderer::drawLabels(QPainter& painter, const std::vector<PlacedTown>& towns) const
{
    const double s = m_layout.scale();
    const QFont font = MapStyle::font(MapStyle::labelSize * s);
    const QFontMetricsF metrics(font);
    const QRectF picture(QPointF(0, 0), QSizeF(m_layout.pictureSize()));
    const double dotR = dotRadius();
    LabelPlacer placer;
    placer.addObstacle(m_layout.firstView());
    for (const PlacedTown& p : towns) {
        if (!p.town->hidden)
            placer.addObstacle(QRectF(p.pixel - QPointF(dotR, dotR), QSizeF(2 * dotR, 2 * dotR)));
    }
    QPainterPath text;
    for (const PlacedTown& p : towns) {
        if (p.town->hidden)
            continue;
        const QSizeF size(metrics.horizontalAdvance(p.town->name),
                          metrics.ascent() + metrics.descent());
        const QRectF bounds = p.inset ? m_layout.insetBox() : picture;
        const QRectF at = placer.place(p.pixel, size, dotR + MapStyle::labelGap * s, bounds);
        text.addText(QPointF(at.left(), at.top() + metrics.ascent()), font, p.town->name);
    }
    // One halo under all names keeps them readable over roads and coasts.
    painter.setBrush(Qt::NoBrush);
    painter.strokePath(text, QPen(MapStyle::halo, MapStyle::haloWidth * s, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(text, MapStyle::label);
}

void MapRenderer::drawAttribution(QPainter& painter) const
{
    const double s = m_layout.scale();
    const QFont font = MapStyle::font(13 * s);
    painter.setFont(font);
    painter.setPen(MapStyle::ink);
    painter.drawText(QPointF(14 * s, m_layout.pictureSize().height() - 12 * s),
                     QStringLiteral("Made with Natural Earth. Free vector and raster map data @ "
                                    "naturalearthdata.com"));
}

} // namespace moravelt
