// SPDX-License-Identifier: MIT

#include "base/twips.h"
#include "settings/placement.h"

#include <QtTest>

using namespace moravelt;

class TestPlacement : public QObject
{
    Q_OBJECT
private slots:
    void dirPathGet_data();
    void dirPathGet();
    void workAreaKeys();
    void settingFrm_data();
    void settingFrm();
    void pixelTwipsConversionsSaturate_data();
    void pixelTwipsConversionsSaturate();
};

void TestPlacement::dirPathGet_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("folder") << QStringLiteral("/opt/moravelt") << QStringLiteral("/opt/moravelt/");
    QTest::newRow("already ends") << QStringLiteral("/opt/") << QStringLiteral("/opt/");
    QTest::newRow("empty") << QString() << QStringLiteral("/");
}

void TestPlacement::dirPathGet()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(DirPathGet(path), expected);
    QCOMPARE(path, expected); // the caller's variable changes too
}

void TestPlacement::workAreaKeys()
{
    const WorkArea area{60, 10, 1024, 738};
    QCOMPARE(workAreaValue(area, QStringLiteral("left")), 60);
    QCOMPARE(workAreaValue(area, QStringLiteral("TOP")), 10);
    QCOMPARE(workAreaValue(area, QStringLiteral("Width")), 1024);
    QCOMPARE(workAreaValue(area, QStringLiteral("height")), 738);
    QCOMPARE(workAreaValue(area, QStringLiteral("right")), 0);
    QCOMPARE(workAreaValue(area, QString()), 0);
}

void TestPlacement::settingFrm_data()
{
    QTest::addColumn<float>("stored");
    QTest::addColumn<int>("farEdge");
    QTest::addColumn<float>("expected");
    QTest::newRow("on the bottom edge") << 11070.0f << 738 << 11070.0f;
    QTest::newRow("one pixel beyond") << 11085.0f << 738 << 0.0f;
    QTest::newRow("above the screen") << -15.0f << 738 << 0.0f;
    QTest::newRow("zero") << 0.0f << 738 << 0.0f;
    QTest::newRow("under a left task bar") << 300.0f << 1024 << 300.0f;
    QTest::newRow("inside, right part hanging off") << 14000.0f << 1024 << 14000.0f;
    QTest::newRow("failed query moves positives") << 15.0f << 0 << 0.0f;
}

void TestPlacement::settingFrm()
{
    QFETCH(float, stored);
    QFETCH(int, farEdge);
    QFETCH(float, expected);
    QCOMPARE(settingFrmCoordinate(stored, farEdge), expected);
}

void TestPlacement::pixelTwipsConversionsSaturate_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<float>("twipsBack");
    QTest::newRow("design width") << 1500.0f << 100 << 1500.0f;
    QTest::newRow("rounds to the nearest pixel") << 22.0f << 1 << 15.0f;
    QTest::newRow("negative") << -16590.0f << -1106 << -16590.0f;
    QTest::newRow("largest stored left")
        << 2147483584.0f << Twips::kMaxPixels << float(Twips::kMaxPixels * 15.0);
    QTest::newRow("int32 minimum")
        << float(INT32_MIN) << -Twips::kMaxPixels << float(Twips::kMaxPixels * -15.0);
    QTest::newRow("float maximum") << std::numeric_limits<float>::max() << Twips::kMaxPixels
                                   << float(Twips::kMaxPixels * 15.0);
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 0 << 0.0f;
}

void TestPlacement::pixelTwipsConversionsSaturate()
{
    QFETCH(float, twips);
    QFETCH(int, pixels);
    QFETCH(float, twipsBack);
    QCOMPARE(Twips::toPixels(twips), pixels);
    QCOMPARE(Twips::fromPixels(pixels), twipsBack);
    // Any pixel position converts without overflow, far beyond what the window system holds.
    QCOMPARE(double(Twips::fromPixels(INT32_MAX)), double(float(INT32_MAX * 15.0)));
    QCOMPARE(double(Twips::fromPixels(INT32_MIN)), double(float(INT32_MIN * 15.0)));
}

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
