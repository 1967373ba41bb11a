#include "app/placement.h"

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

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
