// SPDX-License-Identifier: MIT

#include "mapview/stopmark.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace moravelt;

class TestStopMark : public QObject
{
    Q_OBJECT
private slots:
    void paintsInsideItsBoundsOnly();
};

void TestStopMark::paintsInsideItsBoundsOnly()
{
    StopMark mark;
    QVERIFY(mark.bounds().isEmpty());
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        mark.paint(painter, image.rect()); // no stop: nothing
    }
    QCOMPARE(image.pixel(60, 60), qRgb(255, 255, 255));

    mark.setPoint(QPointF(60, 50));
    const QRect bounds = mark.bounds();
    QVERIFY(bounds.contains(QRect(60 - 17, 50 - 17, 35, 35)));
    // A part exposed away from the mark leaves it untouched, as a drag's strip would.
    {
        QPainter painter(&image);
        mark.paint(painter, QRect(0, 100, 120, 20));
    }
    QCOMPARE(image.pixel(60, 50), qRgb(255, 255, 255));
    {
        QPainter painter(&image);
        mark.paint(painter, image.rect());
    }
    const QColor dot = image.pixelColor(60, 50);
    QVERIFY2(dot.red() > 200 && dot.green() > 120 && dot.blue() < 60, qPrintable(dot.name()));
    const QColor ring = image.pixelColor(60 + 17, 50); // the route's purple
    QVERIFY2(ring.blue() > ring.green() + 60, qPrintable(ring.name()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!bounds.contains(x, y))
                QCOMPARE(image.pixel(x, y), qRgb(255, 255, 255));
}

QTEST_GUILESS_MAIN(TestStopMark)
#include "tst_stopmark.moc"
