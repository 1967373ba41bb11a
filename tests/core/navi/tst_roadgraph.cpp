// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "searchtestmaps.h"

#include <QDateTime>
#include <QtTest>
#include <limits>
#include <optional>

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
    void unusableRowsAreDroppedAndNamed();
    void readingIsBounded();
};

void TestRoadGraph::distancesAreReadExactly_data()
{
    using Fault = RoadGraph::Fault;
    QTest::addColumn<QVariant>("km");
    QTest::addColumn<int>("fault"); // -1: the row is a road
    QTest::addColumn<qint64>("microKm");
    const double infinity = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("whole") << QVariant(12) << -1 << qint64(12'000'000);
    QTest::newRow("decimal") << QVariant(0.1) << -1 << qint64(100'000);
    QTest::newRow("zero") << QVariant(0.0) << -1 << qint64(0);
    QTest::newRow("number as text") << QVariant(QStringLiteral("12.5")) << -1 << qint64(12'500'000);
    QTest::newRow("longest") << QVariant(99'999) << -1 << qint64(99'999'000'000);
    QTest::newRow("longest fraction") << QVariant(99'999.0) << -1 << qint64(99'999'000'000);
    QTest::newRow("unsigned") << QVariant(7u) << -1 << qint64(7'000'000);
    QTest::newRow("null") << QVariant() << int(Fault::Null) << qint64(0);
    QTest::newRow("negative") << QVariant(-4) << int(Fault::Negative) << qint64(0);
    QTest::newRow("negative fraction") << QVariant(-0.5) << int(Fault::Negative) << qint64(0);
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << int(Fault::NotNumber)
                                  << qint64(0);
    QTest::newRow("truth value") << QVariant(true) << int(Fault::NotNumber) << qint64(0);
    QTest::newRow("bytes") << QVariant(QByteArray("12")) << int(Fault::NotNumber) << qint64(0);
    QTest::newRow("date") << QVariant(QDate(2024, 5, 1)) << int(Fault::Date) << qint64(0);
    QTest::newRow("date and time")
        << QVariant(QDateTime(QDate(2024, 5, 1), QTime(9, 0))) << int(Fault::Date) << qint64(0);
    QTest::newRow("NaN") << QVariant(nan) << int(Fault::NotFinite) << qint64(0);
    QTest::newRow("infinite") << QVariant(infinity) << int(Fault::NotFinite) << qint64(0);
    QTest::newRow("past five digits") << QVariant(99'999.5) << int(Fault::TooLong) << qint64(0);
    QTest::newRow("past five digits, whole")
        << QVariant(100'000) << int(Fault::TooLong) << qint64(0);
    QTest::newRow("absurd") << QVariant(9e12) << int(Fault::TooLong) << qint64(0);
    QTest::newRow("absurd whole") << QVariant(qint64(9'000'000'000'000)) << int(Fault::TooLong)
                                  << qint64(0);
    QTest::newRow("unsigned beyond 64 signed bits")
        << QVariant(std::numeric_limits<quint64>::max()) << int(Fault::TooLong) << qint64(0);
}

void TestRoadGraph::distancesAreReadExactly()
{
    QFETCH(QVariant, km);
    QFETCH(int, fault);
    QFETCH(qint64, microKm);
    std::int64_t read = -1;
    const std::optional<RoadGraph::Fault> found = RoadGraph::readDistance(km, read);
    QCOMPARE(found ? int(*found) : -1, fault);
    if (!found)
        QCOMPARE(read, microKm);
}

void TestRoadGraph::unusableRowsAreDroppedAndNamed()
{
    // The absurd row and its like go; every other road stays, and more than a few bad rows
    // are counted but not all named.
    TestMap map;
    oneWay(map, QStringLiteral("大阪"), QStringLiteral("那覇"), 9e12);
    oneWay(map, QStringLiteral("大阪"), QStringLiteral("京都"), 50);
    oneWay(map, QStringLiteral("京都"), QStringLiteral("奈良"), -3);
    oneWay(map, QStringLiteral(""), QStringLiteral("奈良"), 3);
    for (int i = 0; i < 4; ++i)
        oneWay(map, QStringLiteral("堺%1").arg(i), QStringLiteral("奈良"), QVariant());
    oneWay(map, QStringLiteral("京都"), QStringLiteral("大阪"), 50);
    LoadedMap loaded(map);
    const RoadGraph& graph = loaded.graph;
    QCOMPARE(graph.roadCount(), 2);
    QCOMPARE(graph.skippedRows(), 7);
    QCOMPARE(graph.droppedRows().size(), RoadGraph::kNamedRows);
    QCOMPARE(graph.droppedRows().front().from, QStringLiteral("大阪"));
    QCOMPARE(graph.droppedRows().front().to, QStringLiteral("那覇"));
    QCOMPARE(graph.droppedRows().front().fault, RoadGraph::Fault::TooLong);
    QCOMPARE(graph.droppedRows()[2].fault, RoadGraph::Fault::NoTown);
    const QString message = graph.droppedRowsMessage();
    for (const char* part : {"7 行", "「大阪」→「那覇」: 9e+12 km", "「京都」→「奈良」: -3 km",
                             "「堺0」→「奈良」（距離が空）", "ほか 2 行"})
        QVERIFY2(message.contains(QString::fromUtf8(part)), qPrintable(message));
    QVERIFY(!message.contains(QStringLiteral("堺2")));

    TestMap sound;
    oneWay(sound, QStringLiteral("A"), QStringLiteral("B"), 1);
    QCOMPARE(LoadedMap(sound).graph.droppedRowsMessage(), QString());
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
