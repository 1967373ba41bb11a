// SPDX-License-Identifier: MIT

#include "lookup/mapframe.h"
#include "lookup/mapscale.h"

#include <QtTest>

using namespace moravelt;

namespace {

// The sample world's picture (5000 × 4400 pixels) in twips.
const QSizeF kPicture(75000, 66000);
// A map area of the design size, and one of a large screen.
const QSizeF kDesign(6735, 8445);
const QSizeF kLarge(28800, 15600);

// How much of the area the picture covers along each axis, at an offset and scale.
QSizeF shown(const MapFrame& frame, QPointF offset, double scale)
{
    const QRectF picture(offset * scale, frame.picture() * scale);
    return picture.intersected(QRectF(QPointF(0, 0), frame.area())).size();
}

} // namespace

class TestMapFrame : public QObject
{
    Q_OBJECT
private slots:
    void zoomKeepsTheAnchoredPoint_data();
    void zoomKeepsTheAnchoredPoint();
    void keptInView_data();
    void keptInView();
    void showsMap_data();
    void showsMap();
    void coveringLeavesNoEmptyBand_data();
    void coveringLeavesNoEmptyBand();
    void fittingLevel_data();
    void fittingLevel();
    void storedLevel_data();
    void storedLevel();
};

void TestMapFrame::zoomKeepsTheAnchoredPoint_data()
{
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QPointF>("anchor");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("first start, out to 1/2")
        << QPointF(-16590, -17805) << QPointF(3000, 4000) << 0 << 1;
    QTest::newRow("1/2 to 1/8 at a corner") << QPointF(-3000, 1200) << QPointF(0, 0) << 1 << 3;
    QTest::newRow("1/8 back to 1:1") << QPointF(12000, -8000) << QPointF(6735, 8445) << 3 << 0;
    QTest::newRow("1/4 to 1/2, off the map") << QPointF(90000, 0) << QPointF(15, 15) << 2 << 1;
}

void TestMapFrame::zoomKeepsTheAnchoredPoint()
{
    QFETCH(QPointF, offset);
    QFETCH(QPointF, anchor);
    QFETCH(int, from);
    QFETCH(int, to);
    const double s0 = MapScale::factor(from);
    const double s1 = MapScale::factor(to);
    const QPointF zoomed = MapFrame::zoomedAbout(offset, anchor, s0, s1);
    QCOMPARE(MapFrame::pictureAt(anchor, zoomed, s1), MapFrame::pictureAt(anchor, offset, s0));
    // The offset keeps the full-size meaning: the point at the area's top-left is -offset.
    QCOMPARE(MapFrame::pictureAt({0, 0}, zoomed, s1), -zoomed);
    QCOMPARE(MapFrame::zoomedAbout(zoomed, anchor, s1, s0), offset);
}

void TestMapFrame::keptInView_data()
{
    QTest::addColumn<QSizeF>("area");
    QTest::addColumn<int>("level");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QPointF>("kept");
    const double w = kDesign.width(), h = kDesign.height();
    QTest::newRow("first start stays")
        << kDesign << 0 << QPointF(-16590, -17805) << QPointF(-16590, -17805);
    QTest::newRow("far right and down")
        << kDesign << 0 << QPointF(1e6, 1e7) << QPointF(w / 2, h / 2);
    QTest::newRow("far left and up")
        << kDesign << 0 << QPointF(-1e6, -1e7) << QPointF(w / 2 - 75000, h / 2 - 66000);
    QTest::newRow("one axis out") << kDesign << 0 << QPointF(-20000.5f, 50000)
                                  << QPointF(-20000.5f, h / 2);
    QTest::newRow("1/2, far left")
        << kDesign << 1 << QPointF(-1e6, -30000) << QPointF((w / 2 - 37500) * 2, -30000);
    // At 1/8 the picture (9375 × 8250) is narrower than the large area: it stays whole.
    QTest::newRow("1/8, large area, far right")
        << kLarge << 3 << QPointF(1e6, 0) << QPointF((28800 - 9375) * 8, 0);
    // Taller than half the area, it keeps half the area's height.
    QTest::newRow("1/8, large area, far up")
        << kLarge << 3 << QPointF(0, -1e6) << QPointF(0, (7800 - 8250) * 8);
    QTest::newRow("1/8, large area, inside")
        << kLarge << 3 << QPointF(8000, 7000) << QPointF(8000, 7000);
}

void TestMapFrame::keptInView()
{
    QFETCH(QSizeF, area);
    QFETCH(int, level);
    QFETCH(QPointF, offset);
    QFETCH(QPointF, kept);
    const MapFrame frame(kPicture, area);
    const double s = MapScale::factor(level);
    const QPointF result = frame.keptInView(offset, s);
    QCOMPARE(result, kept);
    // Half the area's width and height show map, or the whole picture does.
    const QSizeF covered = shown(frame, result, s);
    QVERIFY(covered.width() >= std::min(area.width() / 2, kPicture.width() * s) - 1e-6);
    QVERIFY(covered.height() >= std::min(area.height() / 2, kPicture.height() * s) - 1e-6);
    QCOMPARE(frame.keptInView(result, s), result);
}

void TestMapFrame::showsMap_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<bool>("shows");
    QTest::newRow("first start") << 0 << QPointF(-16590, -17805) << true;
    QTest::newRow("a sliver at the right") << 0 << QPointF(6720, 0) << true;
    QTest::newRow("just past the right") << 0 << QPointF(6735, 0) << false;
    QTest::newRow("just past the left") << 0 << QPointF(-75000, 0) << false;
    QTest::newRow("a sliver at the left") << 0 << QPointF(-74985, 0) << true;
    QTest::newRow("below") << 0 << QPointF(0, 9000) << false;
    QTest::newRow("past the right at 1:1, shown at 1/8") << 3 << QPointF(20000, 0) << true;
    QTest::newRow("far off at 1/8") << 3 << QPointF(-80000, 0) << false;
}

void TestMapFrame::showsMap()
{
    QFETCH(int, level);
    QFETCH(QPointF, offset);
    QFETCH(bool, shows);
    QCOMPARE(MapFrame(kPicture, kDesign).showsMap(offset, MapScale::factor(level)), shows);
}

void TestMapFrame::coveringLeavesNoEmptyBand_data()
{
    QTest::addColumn<QSizeF>("area");
    QTest::addColumn<int>("level");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QPointF>("covered");
    QTest::newRow("inside stays") << kDesign << 0 << QPointF(-16590, -17805)
                                  << QPointF(-16590, -17805);
    QTest::newRow("band at the top-left") << kDesign << 0 << QPointF(300, 15) << QPointF(0, 0);
    QTest::newRow("band at the bottom-right, 1/4")
        << kDesign << 2 << QPointF(-72000, -65000)
        << QPointF((6735 - 18750) * 4, (8445 - 16500) * 4);
    // Narrower and lower than the area at 1/8: the picture stands in the middle.
    QTest::newRow("1/8 in a large area")
        << kLarge << 3 << QPointF(-5000, 4000)
        << QPointF((28800 - 9375) / 2.0 * 8, (15600 - 8250) / 2.0 * 8);
}

void TestMapFrame::coveringLeavesNoEmptyBand()
{
    QFETCH(QSizeF, area);
    QFETCH(int, level);
    QFETCH(QPointF, offset);
    QFETCH(QPointF, covered);
    const MapFrame frame(kPicture, area);
    QCOMPARE(frame.covering(offset, MapScale::factor(level)), covered);
}

void TestMapFrame::fittingLevel_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("level");
    const double margin = 480;
    const double w = kDesign.width() - 2 * margin, h = kDesign.height() - 2 * margin;
    QTest::newRow("fits at 1:1") << QRectF(30000, 40000, w, h) << 0 << 0;
    QTest::newRow("a twip too wide") << QRectF(30000, 40000, w + 1, h) << 0 << 1;
    QTest::newRow("fits at 1/4") << QRectF(0, 0, 4 * w, 3 * h) << 0 << 2;
    QTest::newRow("never fits: the smallest") << QRectF(0, 0, 75000, 66000) << 0 << 3;
    QTest::newRow("never zooms in") << QRectF(30000, 40000, 100, 100) << 2 << 2;
    QTest::newRow("a point") << QRectF(30000, 40000, 0, 0) << 0 << 0;
}

void TestMapFrame::fittingLevel()
{
    QFETCH(QRectF, box);
    QFETCH(int, from);
    QFETCH(int, level);
    const MapFrame frame(kPicture, kDesign);
    QCOMPARE(frame.fittingLevel(box, 480, from), level);
    // Centred at that level, the box lies in the area.
    const double s = MapScale::factor(level);
    const QPointF offset = frame.centredOn(box.center(), s);
    const QRectF drawn((box.topLeft() + offset) * s, box.size() * s);
    if (level < MapScale::kSmallest && !box.isEmpty())
        QVERIFY(QRectF(QPointF(0, 0), kDesign).contains(drawn));
}

void TestMapFrame::storedLevel_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("level");
    QTest::newRow("missing") << QVariant() << 0;
    QTest::newRow("1") << QVariant(QStringLiteral("1")) << 0;
    QTest::newRow("2") << QVariant(2) << 1;
    QTest::newRow("4 with spaces") << QVariant(QStringLiteral(" 4 ")) << 2;
    QTest::newRow("8") << QVariant(QStringLiteral("8")) << 3;
    QTest::newRow("16") << QVariant(QStringLiteral("16")) << 0;
    QTest::newRow("0") << QVariant(QStringLiteral("0")) << 0;
    QTest::newRow("-8") << QVariant(QStringLiteral("-8")) << 0;
    QTest::newRow("a fraction") << QVariant(QStringLiteral("1/8")) << 0;
    QTest::newRow("garbage") << QVariant(QStringLiteral("\x01zoom")) << 0;
}

void TestMapFrame::storedLevel()
{
    QFETCH(QVariant, stored);
    QFETCH(int, level);
    QCOMPARE(MapScale::fromStored(stored), level);
    QCOMPARE(MapScale::fromStored(MapScale::denominator(level)), level);
}

QTEST_MAIN(TestMapFrame)
#include "tst_mapframe.moc"
