// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "searchtestmaps.h"
#include "session/gamesession.h"
#include "testmapdb.h"

#include <QtTest>
#include <future>

using namespace moravelt;
using namespace moravelt::test;

namespace {

TestMap lineMap()
{
    TestMap map;
    for (const char* town : {"A", "B", "C"})
        map.towns.push_back({QString::fromUtf8(town), 0.0, 0.0});
    map.road(QStringLiteral("A"), QStringLiteral("B"), 10);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 20);
    return map;
}

} // namespace

class TestGameSession : public QObject
{
    Q_OBJECT
private slots:
    void everySearchSharesOneRoadGraph();
    void unreadableRoadsFailEveryAskAndLeaveTheRestUsable();
    void waitingForEndlessRoadsCanBeCancelled();
    void aMissingMapStopsTheStart();
};

void TestGameSession::everySearchSharesOneRoadGraph()
{
    const TestMapDb db(lineMap());
    const GameSession session(db.connectionString());
    const std::shared_ptr<const RoadGraph> first = session.roads();
    QVERIFY(first);
    QCOMPARE(first->roadCount(), 4);
    QCOMPARE(first->townName(first->roadsFrom(first->townId("B"))[1].to), QStringLiteral("C"));
    // Asked again, and from a search's worker thread: the same graph, not a second reading.
    QCOMPARE(session.roads().get(), first.get());
    auto fromWorker = std::async(std::launch::async, [&session] { return session.roads(); });
    QCOMPARE(fromWorker.get().get(), first.get());
    QCOMPARE(session.names()->complete(QStringLiteral("B")), QStringList{QStringLiteral("B")});
}

void TestGameSession::unreadableRoadsFailEveryAskAndLeaveTheRestUsable()
{
    const TestMapDb db(lineMap());
    failWhenRead(db, QStringLiteral("tbl_距離"), QStringLiteral("B"));
    GameSession session(db.connectionString());
    for (int ask = 0; ask < 2; ++ask)
        QVERIFY_THROWS_EXCEPTION(MoraveltError, session.roads());
    QCOMPARE(session.names()->complete(QStringLiteral("C")), QStringList{QStringLiteral("C")});
    QCOMPARE(session.townPlaces().routePoints(QStringLiteral("00010-A-B")).size(), 2u);
}

void TestGameSession::waitingForEndlessRoadsCanBeCancelled()
{
    const TestMapDb db(lineMap());
    QVERIFY(alterMap(db, QStringLiteral("DROP TABLE tbl_距離")));
    QVERIFY(alterMap(db, QStringLiteral("CREATE VIEW tbl_距離 AS WITH RECURSIVE n(i) AS "
                                        "(SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                        "SELECT 'A' AS 出発地, 'B' AS 目的地, 1 AS km FROM n")));
    std::atomic<bool> cancel{true};
    {
        const GameSession session(db.connectionString());
        QCOMPARE(session.roads(&cancel), nullptr);
        // Leaving the scope stops the reading: the test ends instead of reading forever.
    }
}

void TestGameSession::aMissingMapStopsTheStart()
{
    QTemporaryDir empty;
    QVERIFY_THROWS_EXCEPTION(MoraveltError,
                             GameSession(MapDatabase::connectionString(empty.path() + '/')));
}

QTEST_GUILESS_MAIN(TestGameSession)
#include "tst_gamesession.moc"
