// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "coastlinefile.h"
#include "extractcoastcommand.h"
#include "labelplacer.h"
#include "landcrossing.h"
#include "maplayout.h"
#include "ringclipper.h"
#include "topojsondecoder.h"

#include <QLineF>
#include <QTemporaryDir>
#include <QTest>

using namespace moravelt;

namespace {

// Two arcs of a unit square split at its corners, quantized with scale (0.5, 0.25) and
// translate (100, 10): arc 0 runs (100,10)-(101,10)-(101,11), arc 1 (101,11)-(100,11)-(100,10).
const QByteArray squareTopology = R"({
  "type": "Topology",
  "transform": {"scale": [0.5, 0.25], "translate": [100, 10]},
  "arcs": [[[0, 0], [2, 0], [0, 4]], [[2, 4], [-2, 0], [0, -4]]],
  "objects": {"countries": {"type": "GeometryCollection", "geometries": [
    {"type": "Polygon", "arcs": [[0, 1]], "properties": {"name": "Square"}},
    {"type": "MultiPolygon", "arcs": [[[-2, -1]], [[0, 1]]], "properties": {"name": "Twice"}},
    {"type": "Point", "coordinates": [0, 0], "properties": {"name": "Ignored"}}
  ]}}
})";

double greatCircleKm(double lat1, double lon1, double lat2, double lon2)
{
    const double r = M_PI / 180;
    return 6371.0 *
           std::acos(std::sin(lat1 * r) * std::sin(lat2 * r) +
                     std::cos(lat1 * r) * std::cos(lat2 * r) * std::cos((lon2 - lon1) * r));
}

} // namespace

class TestMapGeometry : public QObject
{
    Q_OBJECT

private slots:
    void decodesQuantizedArcs()
    {
        const std::vector<LandPolygon> land =
            TopoJsonDecoder().decode(squareTopology, QStringLiteral("countries"));
        QCOMPARE(land.size(), std::size_t(3));
        QCOMPARE(land[0].country, QStringLiteral("Square"));
        const QPolygonF square{{100, 10}, {101, 10}, {101, 11}, {100, 11}, {100, 10}};
        QCOMPARE(land[0].rings, QList<QPolygonF>{square});
        // Negative indexes walk arcs backwards: the same square the other way round.
        QPolygonF reversed = square;
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(land[1].country, QStringLiteral("Twice"));
        QCOMPARE(land[1].rings, QList<QPolygonF>{reversed});
        QCOMPARE(land[2].rings, QList<QPolygonF>{square});
    }

    void refusesWhatItCannotRead_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("object");
        QTest::newRow("not json") << QByteArray("{") << "countries";
        QTest::newRow("not a topology")
            << QByteArray(R"({"type":"FeatureCollection"})") << "countries";
        QTest::newRow("no such object") << squareTopology << "land";
        QByteArray badArc = squareTopology;
        badArc.replace("[[0, 1]], \"properties\": {\"name\": \"Square\"}", "[[0, 7]]");
        QTest::newRow("missing arc") << badArc << "countries";
    }

    void refusesWhatItCannotRead()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, object);
        QVERIFY_THROWS_EXCEPTION(MoraveltError, TopoJsonDecoder().decode(json, object));
    }

    void extractKeepsTheRegionAndColoursJapan()
    {
        // Japan, an island north-east of Shiretoko, Sakhalin, and a strip reaching far west.
        const QByteArray topology = R"({
          "type": "Topology",
          "arcs": [[[140, 35], [141, 35], [141, 36], [140, 35]],
                   [[147, 44], [148, 44], [148, 45], [147, 44]],
                   [[142, 46], [143, 46], [143, 47], [142, 46]],
                   [[100, 30], [125, 30], [125, 31], [100, 31], [100, 30]]],
          "objects": {"countries": {"type": "GeometryCollection", "geometries": [
            {"type": "Polygon", "arcs": [[0]], "properties": {"name": "Japan"}},
            {"type": "MultiPolygon", "arcs": [[[1]], [[2]]], "properties": {"name": "Russia"}},
            {"type": "Polygon", "arcs": [[3]], "properties": {"name": "China"}}
          ]}}
        })";
        QTemporaryDir dir;
        QFile in(dir.filePath(QStringLiteral("world.json")));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write(topology);
        in.close();
        const QString out = dir.filePath(QStringLiteral("coast.txt"));
        QCOMPARE(runExtractCoastCommand(
                     {QStringLiteral("--topojson"), in.fileName(), QStringLiteral("--out"), out}),
                 0);
        const std::vector<LandPolygon> land = CoastlineFile::read(out);
        QCOMPARE(land.size(), std::size_t(4));
        QVERIFY(land[0].japan);
        QVERIFY(land[1].japan); // drawn as Japan
        QVERIFY(!land[2].japan);
        QCOMPARE(land[2].country, QStringLiteral("Russia"));
        QVERIFY(!land[3].japan);
        QCOMPARE(land[3].rings.first().boundingRect().left(), 118.0);
        QCOMPARE(runExtractCoastCommand({QStringLiteral("--out"), out}), 2);
    }

    void clipsRingsToTheRegion()
    {
        const RingClipper clipper(QRectF(QPointF(0, 0), QPointF(10, 10)));
        // A square straddling the right edge keeps its inner half.
        const QPolygonF cut = clipper.clip({{5, 2}, {15, 2}, {15, 8}, {5, 8}, {5, 2}});
        QCOMPARE(cut.boundingRect(), QRectF(QPointF(5, 2), QPointF(10, 8)));
        QCOMPARE(cut.size(), 4);
        QVERIFY(clipper.clip({{20, 20}, {30, 20}, {30, 30}}).isEmpty());
        const QPolygonF inside{{1, 1}, {2, 1}, {2, 2}};
        QCOMPARE(clipper.clip(inside), inside);
    }

    void coastlineFileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("coast.txt"));
        const std::vector<LandPolygon> land{
            {QStringLiteral("Japan"), true, {QPolygonF{{139.5, 35.25}, {140, 35}, {140, 36}}}},
            {QStringLiteral("South Korea"),
             false,
             {QPolygonF{{127, 36}, {129, 36}, {128, 38}},
              QPolygonF{{127.9, 36.9}, {128.1, 37}, {128, 37.1}}}},
        };
        CoastlineFile::write(path, land, {QStringLiteral("a note")});
        const std::vector<LandPolygon> back = CoastlineFile::read(path);
        QCOMPARE(back.size(), land.size());
        for (std::size_t i = 0; i < land.size(); ++i) {
            QCOMPARE(back[i].country, land[i].country);
            QCOMPARE(back[i].japan, land[i].japan);
            QCOMPARE(back[i].rings, land[i].rings);
        }

        QFile broken(path);
        QVERIFY(broken.open(QIODevice::Append));
        broken.write("ring\n139.1 north\n");
        broken.close();
        try {
            CoastlineFile::read(path);
            QFAIL("a bad point must be refused");
        } catch (const MoraveltError& e) {
            QVERIFY2(e.message().contains(QStringLiteral(":17:")), qPrintable(e.message()));
        }
    }

    void mainFrameKeepsDistancesAndNorthUp_data()
    {
        QTest::addColumn<double>("lat1");
        QTest::addColumn<double>("lon1");
        QTest::addColumn<double>("lat2");
        QTest::addColumn<double>("lon2");
        QTest::newRow("東京-大阪") << 35.6812 << 139.7671 << 34.7025 << 135.4959;
        QTest::newRow("札幌-福岡") << 43.0621 << 141.3544 << 33.5902 << 130.4017;
        QTest::newRow("稚内-鹿児島") << 45.4156 << 141.6731 << 31.5966 << 130.5571;
    }

    void mainFrameKeepsDistancesAndNorthUp()
    {
        QFETCH(double, lat1);
        QFETCH(double, lon1);
        QFETCH(double, lat2);
        QFETCH(double, lon2);
        const MapLayout layout;
        const QPointF a = layout.mainPixel(lat1, lon1);
        const QPointF b = layout.mainPixel(lat2, lon2);
        // A conformal conic between 33 and 44 degrees stays within 2 % of true distance.
        const double km = QLineF(a, b).length() / layout.pixelsPerKm();
        const double truth = greatCircleKm(lat1, lon1, lat2, lon2);
        QVERIFY2(std::abs(km - truth) < 0.02 * truth, qPrintable(QString::number(km)));
        // The first town lies north-east of the second: up and to the right.
        QVERIFY(a.y() < b.y());
        QVERIFY(a.x() > b.x());
        const QRectF picture(QPointF(0, 0), QSizeF(layout.pictureSize()));
        QVERIFY(picture.contains(a) && picture.contains(b));
    }

    void nanseiIslandsGoToTheInset()
    {
        const MapLayout layout;
        QCOMPARE(layout.pictureSize(), QSize(5000, 4400));
        QVERIFY(MapLayout::belongsToInset(26.2124, 127.6809));  // 那覇
        QVERIFY(MapLayout::belongsToInset(24.3406, 124.1557));  // 石垣
        QVERIFY(!MapLayout::belongsToInset(31.5966, 130.5571)); // 鹿児島
        QVERIFY(!MapLayout::belongsToInset(30.4240, 130.5700)); // 屋久島
        const QRectF box = layout.insetBox();
        QVERIFY(box.contains(layout.pixel(26.2124, 127.6809)));
        QVERIFY(box.contains(layout.pixel(24.4550, 122.9870))); // 与那国
        QVERIFY(box.contains(layout.pixel(28.3772, 129.4938))); // 奄美
        QVERIFY(!box.contains(layout.pixel(31.5966, 130.5571)));
        // The inset must not hide the first view, and Ishigaki lies west of Naha there too.
        QVERIFY(!box.intersects(layout.firstView()));
        QVERIFY(layout.insetPixel(24.3406, 124.1557).x() <
                layout.insetPixel(26.2124, 127.6809).x());
        // Everything scales together.
        const MapLayout small(0.5);
        QCOMPARE(small.pictureSize(), QSize(2500, 2200));
        QCOMPARE(small.pixel(35.0, 135.0), layout.pixel(35.0, 135.0) * 0.5);
        QCOMPARE(small.insetBox(), QRectF(box.topLeft() * 0.5, box.size() * 0.5));
    }

    // A sea route's straight line over land: an island of 10 × 10 degrees with a lake.
    void landShareOfAStraightLine_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<double>("share");
        QTest::newRow("at sea") << QPointF(0, 20) << QPointF(20, 20) << 0.0;
        // 33 points from a tenth to nine tenths of the way: 16 on the island, 4 of them in
        // the lake.
        QTest::newRow("across the island") << QPointF(0.3, 5) << QPointF(20.3, 5) << 12 / 33.0;
        QTest::newRow("over the lake") << QPointF(1.1, 5) << QPointF(9.1, 5) << 23 / 33.0;
        // The ends are inland, as towns are of their ports; only the middle counts.
        QTest::newRow("from the shore out to sea") << QPointF(9.5, 5) << QPointF(29.5, 5) << 0.0;
    }

    void landShareOfAStraightLine()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(double, share);
        LandPolygon island;
        island.rings << QPolygonF({{0, 0}, {10, 0}, {10, 10}, {0, 10}})
                     << QPolygonF({{4, 4}, {6, 4}, {6, 6}, {4, 6}});
        const std::vector<LandPolygon> land{island};
        const LandCrossing crossing(land);
        QVERIFY(crossing.isLand({2, 2}));
        QVERIFY(!crossing.isLand({5, 5}));
        QCOMPARE(crossing.landShare(from, to), share);
    }

    void labelsAvoidEachOtherAndTheEdge()
    {
        LabelPlacer placer;
        const QRectF bounds(0, 0, 1000, 1000);
        const QSizeF size(60, 20);
        const QRectF first = placer.place({500, 500}, size, 5, bounds);
        QCOMPARE(first.left(), 505.0); // beside the dot, on the right
        const QRectF second = placer.place({500, 500}, size, 5, bounds);
        QVERIFY(!second.intersects(first));
        // Near the right edge the name goes to the left of its dot.
        const QRectF edge = placer.place({990, 200}, size, 5, bounds);
        QVERIFY(bounds.contains(edge));
        QVERIFY(edge.right() <= 990);
        // An obstacle is avoided like a placed name.
        placer.addObstacle(QRectF(705, 680, 100, 40));
        QVERIFY(!placer.place({700, 700}, size, 5, bounds).intersects(QRectF(705, 680, 100, 40)));
    }
};

QTEST_MAIN(TestMapGeometry)
#include "tst_mapgeometry.moc"
