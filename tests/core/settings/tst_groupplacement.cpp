// SPDX-License-Identifier: MIT

#include "settings/groupplacement.h"

#include <QtTest>

using namespace moravelt;

namespace {

// Frames as openbox draws them around the design sizes at one pixel per pixel.
const QSize kMain(451, 617);
const QSize kInfo(387, 259);
const QSize kNavi(387, 360);

} // namespace

class TestGroupPlacement : public QObject
{
    Q_OBJECT
private slots:
    void besideMainKeepsTheArrangement();
    void groupMovesIntoTheWorkArea_data();
    void groupMovesIntoTheWorkArea();
};

void TestGroupPlacement::besideMainKeepsTheArrangement()
{
    const WindowGroup g = besideMain(QRect(QPoint(100, 40), kMain), kInfo, kNavi);
    QCOMPARE(g.main, QRect(QPoint(100, 40), kMain));
    QCOMPARE(g.info, QRect(QPoint(551, 40), kInfo));
    QCOMPARE(g.navi, QRect(QPoint(551, 299), kNavi));
}

void TestGroupPlacement::groupMovesIntoTheWorkArea_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("placed");   // where the window manager put the main window
    QTest::addColumn<QPoint>("expected"); // the main window's top-left once the group fits
    const QRect hd(0, 0, 1920, 1080);
    const QRect sxga(0, 0, 1280, 1024);
    // The group is 838 wide and 619 high.
    QTest::newRow("1920x1080, main right of the middle")
        << hd << QPoint(1152, 256) << QPoint(1082, 256);
    QTest::newRow("1920x1080, top-left corner") << hd << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("1920x1080, top-right corner") << hd << QPoint(1469, 0) << QPoint(1082, 0);
    QTest::newRow("1920x1080, bottom-left corner") << hd << QPoint(0, 463) << QPoint(0, 461);
    QTest::newRow("1920x1080, bottom-right corner") << hd << QPoint(1469, 463) << QPoint(1082, 461);
    QTest::newRow("1920x1080, partly above and left") << hd << QPoint(-100, -50) << QPoint(0, 0);
    QTest::newRow("1280x1024, top-left corner") << sxga << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("1280x1024, top-right corner") << sxga << QPoint(829, 0) << QPoint(442, 0);
    QTest::newRow("1280x1024, bottom-left corner") << sxga << QPoint(0, 407) << QPoint(0, 405);
    QTest::newRow("1280x1024, bottom-right corner") << sxga << QPoint(829, 407) << QPoint(442, 405);
    QTest::newRow("1280x1024, already inside") << sxga << QPoint(200, 150) << QPoint(200, 150);
    QTest::newRow("panel on top") << QRect(0, 30, 1920, 1050) << QPoint(1152, 10)
                                  << QPoint(1082, 30);
    QTest::newRow("panel on the left")
        << QRect(60, 0, 1860, 1080) << QPoint(20, 100) << QPoint(60, 100);
    QTest::newRow("second screen right of the first")
        << QRect(1920, 0, 1280, 1024) << QPoint(3000, 500) << QPoint(2362, 405);
    // Too big for the work area: the main window's top-left wins on that axis.
    QTest::newRow("too wide and too high")
        << QRect(0, 0, 800, 600) << QPoint(30, 45) << QPoint(0, 0);
    QTest::newRow("too high only (960x540 logical, scaled 2x)")
        << QRect(0, 0, 960, 540) << QPoint(300, 100) << QPoint(122, 0);
    QTest::newRow("too wide only, panel on the left")
        << QRect(60, 0, 700, 1080) << QPoint(400, 900) << QPoint(60, 461);
}

void TestGroupPlacement::groupMovesIntoTheWorkArea()
{
    QFETCH(QRect, area);
    QFETCH(QPoint, placed);
    QFETCH(QPoint, expected);
    const WindowGroup fitted = fitGroupIn(besideMain(QRect(placed, kMain), kInfo, kNavi), area);
    QCOMPARE(fitted.main, QRect(expected, kMain));
    // Moved as one: the arrangement holds wherever the group goes.
    const WindowGroup again = besideMain(fitted.main, kInfo, kNavi);
    QCOMPARE(fitted.info, again.info);
    QCOMPARE(fitted.navi, again.navi);
    const bool fitsAcross = kMain.width() + kInfo.width() <= area.width();
    const bool fitsDown = kInfo.height() + kNavi.height() <= area.height();
    for (const QRect& frame : {fitted.main, fitted.info, fitted.navi}) {
        if (fitsAcross)
            QVERIFY2(frame.left() >= area.left() && frame.right() <= area.right(),
                     qPrintable(QStringLiteral("x %1..%2").arg(frame.left()).arg(frame.right())));
        if (fitsDown)
            QVERIFY2(frame.top() >= area.top() && frame.bottom() <= area.bottom(),
                     qPrintable(QStringLiteral("y %1..%2").arg(frame.top()).arg(frame.bottom())));
    }
}

QTEST_GUILESS_MAIN(TestGroupPlacement)
#include "tst_groupplacement.moc"
