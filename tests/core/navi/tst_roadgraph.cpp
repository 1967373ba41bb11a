// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "searchtestmaps.h"

#include <QtTest>
#include <limits>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Replaces the roads table by a view that never ends.
void makeRoadsEndless(const TestMapDb& db)
{
    QVERIFY(alterMap(db, QStringLiteral("DROP TABLE tbl_距離")));
    QVERIFY(alterMap(db, QStringLiteral("CREATE VIEW tbl_距離 AS WITH RECURSIVE n(i) AS "
                                        "(SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                        "SELECT 'A' AS 出発地, 'B' AS 目的地, 1 AS km FROM n")));
}

} // namespace

class TestRoadGraph : public QObject
{
    Q_OBJECT
private slots:
    void distancesAreReadExactly_data();
    void distancesAreReadExactly();
    void totalsThatCannotBeExactAreRefused();
    void readingIsBounded();
};

void TestRoadGraph::distancesAreReadExactly_data()
{
    QTest::addColumn<QVariant>("km");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qint64>("microKm");
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("whole") << QVariant(12) << true << qint64(12'000'000);
    QTest::newRow("decimal") << QVariant(0.1) << true << qint64(100'000);
    QTest::newRow("zero") << QVariant(0.0) << true << qint64(0);
    QTest::newRow("number as text")
        << QVariant(QStringLiteral("12.5")) << true << qint64(12'500'000);
    QTest::newRow("beyond a million km")
        << QVariant(2'500'000.25) << true << qint64(2'500'000'250'000);
    QTest::newRow("large whole number")
        << QVariant(qint64(9'000'000'000'000)) << true << qint64(9'000'000'000'000'000'000);
    QTest::newRow("null") << QVariant() << false << qint64(0);
    QTest::newRow("negative") << QVariant(-4) << false << qint64(0);
    QTest::newRow("negative fraction") << QVariant(-0.5) << false << qint64(0);
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << false << qint64(0);
    QTest::newRow("infinite") << QVariant(infinity) << false << qint64(0);
    QTest::newRow("beyond 64 bits") << QVariant(1e13) << false << qint64(0);
    QTest::newRow("whole number beyond 64 bits")
        << QVariant(qint64(10'000'000'000'000)) << false << qint64(0);
}

void TestRoadGraph::distancesAreReadExactly()
{
    QFETCH(QVariant, km);
    QFETCH(bool, accepted);
    QFETCH(qint64, microKm);
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), km);
    oneWay(map, QStringLiteral("A"), QStringLiteral("C"), 1);
    LoadedMap loaded(map);
    const RoadGraph& graph = loaded.graph;
    QCOMPARE(graph.skippedRows(), accepted ? 0 : 1);
    QCOMPARE(graph.townId(QStringLiteral("B")) >= 0, accepted);
    const auto roads = graph.roadsFrom(graph.townId(QStringLiteral("A")));
    QCOMPARE(qsizetype(roads.size()), accepted ? 2 : 1);
    if (accepted)
        QCOMPARE(roads[0].microKm, microKm);
}

void TestRoadGraph::totalsThatCannotBeExactAreRefused()
{
    // Each row fits, but a route over both would not.
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), 5e12);
    oneWay(map, QStringLiteral("B"), QStringLiteral("C"), 5e12);
    TestMapDb db(map);
    MapDatabase cn(db.connectionString());
    QVERIFY_THROWS_EXCEPTION(MoraveltError, RoadGraph::load(cn));
}

void TestRoadGraph::readingIsBounded()
{
    TestMap map = completeMap({"A", "B", "C"});
    TestMapDb db(map);
    {
        MapDatabase cn(db.connectionString());
        QCOMPARE(RoadGraph::load(cn, nullptr, 6).roadCount(), 6);
        QVERIFY_THROWS_EXCEPTION(MoraveltError, RoadGraph::load(cn, nullptr, 5));
    }
    makeRoadsEndless(db);
    MapDatabase cn(db.connectionString());
    try {
        RoadGraph::load(cn, nullptr, 20'000);
        QFAIL("an endless table was read to its end");
    } catch (const MoraveltError& e) {
        QVERIFY(e.message().contains(QStringLiteral("20000")));
    }
    // Cancelled, the reading ends long before the bound.
    const std::atomic<bool> cancelled{true};
    QVERIFY(RoadGraph::load(cn, &cancelled).roadCount() < 10'000);
}

QTEST_GUILESS_MAIN(TestRoadGraph)
#include "tst_roadgraph.moc"
