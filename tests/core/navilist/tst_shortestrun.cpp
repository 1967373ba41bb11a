// SPDX-License-Identifier: MIT

#include "navilist/routelistmodel.h"
#include "navilist/shortestrun.h"
#include "routelisttexts.h"
#include "searchtestmaps.h"
#include "testprompt.h"

#include <QSignalSpy>
#include <QtTest>
#include <thread>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// A direct road A to D and a cheaper way round through B and C; E leads to A, nothing to E.
TestMap detourMap()
{
    TestMap map;
    oneWay(map, QStringLiteral("E"), QStringLiteral("A"), 1);
    oneWay(map, QStringLiteral("A"), QStringLiteral("D"), 100);
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), 1);
    oneWay(map, QStringLiteral("B"), QStringLiteral("C"), 1);
    oneWay(map, QStringLiteral("C"), QStringLiteral("D"), 1);
    return map;
}

// One run with its list, prompt and recorded signals; the roads come from `roads`.
struct Run
{
    explicit Run(ShortestRun::RoadsSource roads) : run(std::move(roads), list, prompt)
    {
        list.addRoutes(QStringList{QStringLiteral("00001-X-Y")}); // a previous search's
    }

    RouteListModel list;
    TestPrompt prompt;
    ShortestRun run;
    QSignalSpy started{&run, &ShortestRun::started};
    QSignalSpy finished{&run, &ShortestRun::finished};
};

} // namespace

class TestShortestRun : public QObject
{
    Q_OBJECT
private slots:
    void listsOrReports_data();
    void listsOrReports();
    void cancelStopsTheWorker();
};

void TestShortestRun::listsOrReports_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QStringList>("routes"); // the list after the run
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("found") << "D" << QStringList{"00003-A-B-C-D", "00100-A-D"} << QStringList();
    QTest::newRow("unknown town: the list stays")
        << "Z" << QStringList{"00001-X-Y"} << QStringList{"目的地「Z」という町は地図にありません"};
    QTest::newRow("no route") << "E" << QStringList{"00001-X-Y"}
                              << QStringList{"「A」から「E」へのルートはありません"};
}

void TestShortestRun::listsOrReports()
{
    QFETCH(QString, destination);
    QFETCH(QStringList, routes);
    QFETCH(QStringList, errors);
    LoadedMap loaded(detourMap());
    const auto graph = std::make_shared<const RoadGraph>(loaded.graph);
    Run r([graph](const std::atomic<bool>&) { return graph; });
    QVERIFY(r.run.start(QStringLiteral("A"), destination));
    QVERIFY(r.run.isRunning());
    QVERIFY(!r.run.start(QStringLiteral("A"), destination)); // one at a time
    QVERIFY(r.finished.wait());
    QCOMPARE(r.started.size(), 1);
    QCOMPARE(r.finished.size(), 1);
    QCOMPARE(r.finished.first().first().toBool(), errors.isEmpty());
    QVERIFY(!r.run.isRunning());
    QCOMPARE(r.prompt.errors, errors);
    QCOMPARE(texts(r.list), routes);
}

void TestShortestRun::cancelStopsTheWorker()
{
    // Complete 150 towns, every road 0 km: a thousand routes would take far longer than the
    // test may run, so only a search that looks at its flag inside its loops ends here.
    QStringList names;
    for (int i = 0; i < 150; ++i)
        names << QStringLiteral("町%1").arg(i);
    const auto graph = std::make_shared<const RoadGraph>(LoadedMap(completeMap(names, 0)).graph);
    std::atomic<int> handed{0};
    Run r([&](const std::atomic<bool>&) {
        ++handed;
        return graph;
    });
    for (int attempt = 1; attempt <= 2; ++attempt) {
        QVERIFY(r.run.start(names.first(), names.last(), {}, 1000));
        QTRY_COMPARE(handed.load(), attempt); // the search is under way
        r.run.cancel();
        QVERIFY(!r.run.isRunning());
    }
    // Roads that never come: cancel ends the wait for them as well.
    Run waiting([](const std::atomic<bool>& cancel) -> std::shared_ptr<const RoadGraph> {
        while (!cancel)
            std::this_thread::yield();
        return nullptr;
    });
    QVERIFY(waiting.run.start(QStringLiteral("A"), QStringLiteral("B")));
    waiting.run.cancel();
    QCoreApplication::processEvents();
    for (Run* run : {&r, &waiting}) {
        QCOMPARE(run->finished.size(), 0);
        QCOMPARE(texts(run->list), QStringList{"00001-X-Y"});
        QCOMPARE(run->prompt.errors, QStringList());
    }
}

QTEST_GUILESS_MAIN(TestShortestRun)
#include "tst_shortestrun.moc"
