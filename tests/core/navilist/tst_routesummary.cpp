// SPDX-License-Identifier: MIT

#include "navilist/routesummary.h"

#include <QtTest>

using namespace moravelt;

class TestRouteSummary : public QObject
{
    Q_OBJECT
private slots:
    void sumsUpARoute_data();
    void sumsUpARoute();
};

void TestRouteSummary::sumsUpARoute_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("summary");
    QTest::newRow("three legs") << "00120-京都-大阪-堺-和歌山"
                                << "合計 120 km・3 区間";
    QTest::newRow("one leg, zero total") << "00000-甲-乙"
                                         << "合計 0 km・1 区間";
    QTest::newRow("six digits") << "123456-甲-乙"
                                << "合計 123456 km・1 区間";
    QTest::newRow("beyond any integer") << "99999999999999999999-甲-乙"
                                        << "合計 99999999999999999999 km・1 区間";
    QTest::newRow("one town") << "00007-甲"
                              << "合計 7 km・0 区間";
    QTest::newRow("no total") << "-甲-乙"
                              << "";
    QTest::newRow("an empty town") << "00010-甲--乙"
                                   << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestRouteSummary::sumsUpARoute()
{
    QFETCH(QString, route);
    QFETCH(QString, summary);
    QCOMPARE(RouteSummary::text(route), summary);
}

QTEST_MAIN(TestRouteSummary)
#include "tst_routesummary.moc"
