// SPDX-License-Identifier: MIT

#include "lookup/mapscale.h"
#include "mapview/mapimage.h"
#include "mapview/mappyramid.h"
#include "mapview/routeoverlay.h"
#include "mapview/towndots.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace moravelt;

namespace {

bool near(QRgb a, QColor b, int tolerance = 3)
{
    return std::abs(qRed(a) - b.red()) <= tolerance &&
           std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// The route's translucent line over white.
QColor lineOnWhite()
{
    const QColor line = RouteOverlay::kLineColour;
    const double a = line.alphaF();
    const auto over = [a](int c) { return int(std::lround(c * a + 255 * (1 - a))); };
    return QColor(over(line.red()), over(line.green()), over(line.blue()));
}

} // namespace

class TestMapImage : public QObject
{
    Q_OBJECT
private slots:
    void pyramidHalvesSmoothly();
    void placedAndPointedAtEveryLevel_data();
    void placedAndPointedAtEveryLevel();
    void dotsAndRouteStaySharp_data();
    void dotsAndRouteStaySharp();
};

void TestMapImage::pyramidHalvesSmoothly()
{
    // Black and white columns a pixel wide: each halving averages them to grey.
    QImage stripes(10, 7, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    MapPyramid pyramid;
    pyramid.setPicture(stripes);
    const QList<QSize> sizes{{10, 7}, {5, 4}, {3, 2}, {2, 1}};
    for (int level = 0; level < MapScale::kLevels; ++level) {
        QCOMPARE(pyramid.size(level), sizes[level]);
        QCOMPARE(pyramid.level(level).size(), sizes[level]);
    }
    QVERIFY(pyramid.isReady());
    QCOMPARE(pyramid.level(0).pixel(1, 1), qRgb(255, 255, 255));
    const QRgb grey = pyramid.level(1).pixel(2, 1);
    QVERIFY2(qRed(grey) > 100 && qRed(grey) < 155, qPrintable(QString::number(qRed(grey))));
    // A new picture replaces every level.
    pyramid.setPicture(QImage(4, 4, QImage::Format_RGB32));
    QCOMPARE(pyramid.level(2).size(), QSize(1, 1));
}

void TestMapImage::placedAndPointedAtEveryLevel_data()
{
    QTest::addColumn<int>("level");
    for (int level = 0; level < MapScale::kLevels; ++level)
        QTest::addRow("1/%d", MapScale::denominator(level)) << level;
}

void TestMapImage::placedAndPointedAtEveryLevel()
{
    QFETCH(int, level);
    QWidget area;
    area.resize(300, 200);
    MapImage image(&area);
    QImage picture(800, 640, QImage::Format_RGB32);
    picture.fill(Qt::white);
    image.setPicture(picture);
    QSignalSpy levels(&image, &MapImage::zoomLevelChanged);
    image.setView(level, {-2400, -1200});
    QCOMPARE(levels.size(), level == 0 ? 0 : 1);
    const double s = MapScale::factor(level);
    // The offset keeps its full-size meaning; the picture is drawn at the scale.
    QCOMPARE(image.leftTwips(), -2400.0f);
    QCOMPARE(image.pos(), QPoint(int(-160 * s), int(-80 * s)));
    QCOMPARE(image.size(), QSize(int(800 * s), int(640 * s)));
    QCOMPARE(image.areaTwips(), QSizeF(4500, 3000));
    QCOMPARE(image.pictureTwips(), QSizeF(12000, 9600));
    // The pointer is reported in full-size twips.
    QSignalSpy moved(&image, &MapImage::mouseMoved);
    const QPointF local(25, 10);
    QMouseEvent event(QEvent::MouseMove, local, image.mapToGlobal(local), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&image, &event);
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved[0][0].toInt(), 1);
    QCOMPARE(moved[0][1].toFloat(), float(25 * 15 / s));
    QCOMPARE(moved[0][2].toFloat(), float(10 * 15 / s));
}

void TestMapImage::dotsAndRouteStaySharp_data()
{
    QTest::addColumn<int>("level");
    for (int level = 0; level < MapScale::kLevels; ++level)
        QTest::addRow("1/%d", MapScale::denominator(level)) << level;
}

void TestMapImage::dotsAndRouteStaySharp()
{
    QFETCH(int, level);
    QWidget area;
    area.resize(1000, 800);
    MapImage image(&area);
    QImage picture(960, 640, QImage::Format_RGB32);
    picture.fill(Qt::white);
    image.setPicture(picture);
    image.setTownDots({{160, 480}, {800, 160}});
    image.setRoute({{160, 160}, {800, 160}, {800, 480}});
    image.setView(level, {0, 0});
    const double s = MapScale::factor(level);
    const QImage shown = image.grab().toImage();
    // The dots, crisp in the middle at every level but 1:1, where the picture has its own.
    const QPoint dot = (QPointF(160, 480) * s).toPoint();
    if (level == 0)
        QCOMPARE(shown.pixel(dot), qRgb(255, 255, 255));
    else
        QVERIFY(near(shown.pixel(dot), TownDots::kDot, 0));
    // Nothing where there is neither town nor route.
    QCOMPARE(shown.pixel((QPointF(480, 480) * s).toPoint()), qRgb(255, 255, 255));
    // The route's line keeps its width in screen pixels: solid two pixels off its middle.
    const QPoint onLeg = (QPointF(480, 160) * s).toPoint();
    for (int dy : {-2, 0, 2})
        QVERIFY2(near(shown.pixel(onLeg + QPoint(0, dy)), lineOnWhite()),
                 qPrintable(QString::number(dy)));
    QCOMPARE(shown.pixel(onLeg + QPoint(0, 12)), qRgb(255, 255, 255));
    // The departure's mark at its own place.
    const QRgb departure = shown.pixel((QPointF(160, 160) * s).toPoint());
    QVERIFY(qGreen(departure) > qRed(departure) && qGreen(departure) > qBlue(departure));
}

QTEST_MAIN(TestMapImage)
#include "tst_mapimage.moc"
