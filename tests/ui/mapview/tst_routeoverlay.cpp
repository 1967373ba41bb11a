// SPDX-License-Identifier: MIT

#include "mapview/routeoverlay.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace moravelt;

class TestRouteOverlay : public QObject
{
    Q_OBJECT
private slots:
    void paintsTheSameStripByStrip_data();
    void paintsTheSameStripByStrip();
};

void TestRouteOverlay::paintsTheSameStripByStrip_data()
{
    QTest::addColumn<QSize>("strip");
    // A drag exposes thin strips along one edge; a window that comes back exposes blocks.
    QTest::newRow("columns") << QSize(7, 240);
    QTest::newRow("rows") << QSize(240, 5);
    QTest::newRow("blocks") << QSize(33, 41);
}

void TestRouteOverlay::paintsTheSameStripByStrip()
{
    QFETCH(QSize, strip);
    RouteOverlay route;
    route.setPoints({{20, 20}, {200, 30}, {60, 120}, {210, 200}, {30, 220}, {31, 40}});
    QCOMPARE(route.bounds(), QRect(QPoint(9, 9), QPoint(220, 230))); // dots and marks inside
    const auto canvas = [] {
        QImage image(240, 240, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    };
    QImage whole = canvas();
    {
        QPainter painter(&whole);
        route.paint(painter, whole.rect());
    }
    QImage pieces = canvas();
    for (int y = 0; y < pieces.height(); y += strip.height()) {
        for (int x = 0; x < pieces.width(); x += strip.width()) {
            QPainter painter(&pieces);
            route.paint(painter, QRect(QPoint(x, y), strip));
        }
    }
    int differing = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            const QRgb a = whole.pixel(x, y);
            const QRgb b = pieces.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 2 || std::abs(qGreen(a) - qGreen(b)) > 2 ||
                std::abs(qBlue(a) - qBlue(b)) > 2)
                ++differing;
        }
    }
    QCOMPARE(differing, 0);
    QVERIFY(whole.pixel(110, 25) != qRgb(255, 255, 255)); // on the first leg
    QCOMPARE(whole.pixel(230, 10), qRgb(255, 255, 255));  // off the route
}

QTEST_MAIN(TestRouteOverlay)
#include "tst_routeoverlay.moc"
