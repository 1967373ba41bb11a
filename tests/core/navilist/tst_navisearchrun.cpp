// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "navi/routesearch.h"
#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "routelisttexts.h"
#include "searchtestmaps.h"
#include "testprompt.h"

#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <new>
#include <stdexcept>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// A direct road A to D and a cheaper way round through B and C.
TestMap detourMap()
{
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("D"), 100);
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), 1);
    oneWay(map, QStringLiteral("B"), QStringLiteral("C"), 1);
    oneWay(map, QStringLiteral("C"), QStringLiteral("D"), 1);
    return map;
}

// The first route has two legs, and a longer one follows: the question comes after a step
// whose progress caption a search that goes on shows next.
TestMap twoLegMap()
{
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), 1);
    oneWay(map, QStringLiteral("B"), QStringLiteral("D"), 1);
    oneWay(map, QStringLiteral("A"), QStringLiteral("C"), 1);
    oneWay(map, QStringLiteral("C"), QStringLiteral("E"), 1);
    oneWay(map, QStringLiteral("E"), QStringLiteral("D"), 1);
    return map;
}

// The roads read afresh for each search, at most `maxRows` of them; `before`, when set, runs
// first on the worker.
NaviSearchRun::RoadsSource readRoads(const MapDatabase& cn, const qint64* maxRows,
                                     const std::function<void()>* before)
{
    return [&cn, maxRows, before](const std::atomic<bool>& cancel) {
        if (*before)
            (*before)();
        return std::make_shared<const RoadGraph>(RoadGraph::load(cn, &cancel, *maxRows));
    };
}

// One search with its route list, prompt and recorded signals.
struct Run
{
    explicit Run(const TestMap& map)
        : loaded(map), search(readRoads(loaded.cn, &maxRoadRows, &beforeRoads), list, prompt)
    {
    }

    LoadedMap loaded;
    qint64 maxRoadRows = RoadGraph::kMaxRows;
    std::function<void()> beforeRoads;
    RouteListModel list;
    TestPrompt prompt;
    NaviSearchRun search;
    QSignalSpy started{&search, &NaviSearchRun::started};
    QSignalSpy captions{&search, &NaviSearchRun::captionChanged};
    QSignalSpy finished{&search, &NaviSearchRun::finished};

    QStringList captionTexts() const
    {
        QStringList all;
        for (const QList<QVariant>& signal : captions)
            all << signal.first().toString();
        return all;
    }
};

// What a failing part of a step throws.
enum class FailureKind
{
    Memory,  // std::bad_alloc
    Library, // another std::exception
    Game,    // MoraveltError
};

} // namespace

Q_DECLARE_METATYPE(FailureKind)

class TestNaviSearchRun : public QObject
{
    Q_OBJECT
private slots:
    void asksAfterAStepThatFoundARoute_data();
    void asksAfterAStepThatFoundARoute();
    void noRouteAsksNothing_data();
    void noRouteAsksNothing();
    void fullListKeepsTheShortestAndSaysSoOnce();
    void memoryBudgetStopsWithAMessageAndKeepsTheRoutes_data();
    void memoryBudgetStopsWithAMessageAndKeepsTheRoutes();
    void secondStartIsRefusedWhileRunning();
    void cancelStopsWithoutASound();
    void failedRoadQueryIsReported_data();
    void failedRoadQueryIsReported();
    void endlessRoadsLeaveTheWindowsFree();
    void failureEndsTheRunWithOneReport_data();
    void failureEndsTheRunWithOneReport();
    void deletedFromInsideTheQuestion_data();
    void deletedFromInsideTheQuestion();
    void destroyedWhileTheWorkerRuns_data();
    void destroyedWhileTheWorkerRuns();
};

void TestNaviSearchRun::asksAfterAStepThatFoundARoute_data()
{
    QTest::addColumn<bool>("searchOn");
    QTest::addColumn<QStringList>("routes");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("yes") << true << QStringList{"00003-A-B-C-D", "00100-A-D"}
                         << QStringList{"+-C", NaviSearchRun::kNormalCaption};
    QTest::newRow("no ends at once")
        << false << QStringList{"00100-A-D"} << QStringList{NaviSearchRun::kNormalCaption};
}

void TestNaviSearchRun::asksAfterAStepThatFoundARoute()
{
    QFETCH(bool, searchOn);
    QFETCH(QStringList, routes);
    QFETCH(QStringList, captions);
    Run run(detourMap());
    run.list.addRoutes({"99999-left-over"});
    run.prompt.answers = {searchOn};
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.started.size(), 1);
    QCOMPARE(run.prompt.questions, QStringList{NaviSearchRun::kQuestion});
    QCOMPARE(NaviSearchRun::kQuestion,
             QStringLiteral("目的地へのルートを発見しました\r\nまだ検索しますか？"));
    QCOMPARE(texts(run.list), routes);
    QCOMPARE(run.captionTexts(), captions);
    QVERIFY(run.prompt.messages.isEmpty());
    QVERIFY(!run.search.isRunning());
}

void TestNaviSearchRun::noRouteAsksNothing_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::newRow("empty departure") << QString() << QStringLiteral("D");
    QTest::newRow("unreachable") << QStringLiteral("B") << QStringLiteral("A");
}

void TestNaviSearchRun::noRouteAsksNothing()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    Run run(detourMap());
    QVERIFY(run.search.start(departure, destination, 4));
    QVERIFY(run.finished.wait(10000));
    QVERIFY(run.prompt.questions.isEmpty());
    QCOMPARE(run.list.count(), 0);
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
    QVERIFY(run.search.walkedToTheEnd()); // so the list is empty for the precision's sake
}

void TestNaviSearchRun::fullListKeepsTheShortestAndSaysSoOnce()
{
    Run run(completeMap({"A", "B", "C", "D", "E", "F"}));
    SearchLimits limits;
    limits.maxRoutes = 7;
    run.search.setLimits(limits);
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("F"), 4));
    QVERIFY(run.finished.wait(10000));
    // Step 0 finds the direct road, step 1 the four routes through one town and step 2 the
    // twelve through two, of which the list keeps the first two; the longer routes of
    // steps 3 and 4 are never listed, and those steps ask nothing.
    QVERIFY(run.prompt.messages.isEmpty());
    QCOMPARE(run.prompt.questions.size(), 3);
    QCOMPARE(run.list.count(), 7);
    QCOMPARE(run.list.text(0), QStringLiteral("00001-A-F"));
    QCOMPARE(run.list.text(5), QStringLiteral("00003-A-B-C-F"));
    QCOMPARE(run.list.text(6), QStringLiteral("00003-A-B-D-F"));
    QCOMPARE(run.captionTexts().count(NaviSearchRun::listFullCaption(7)), 1);
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
    QCOMPARE(run.finished.size(), 1);
}

void TestNaviSearchRun::memoryBudgetStopsWithAMessageAndKeepsTheRoutes_data()
{
    QTest::addColumn<std::size_t>("extra");
    QTest::addColumn<bool>("listed");
    QTest::newRow("before any route") << std::size_t(0) << false;
    QTest::newRow("part way") << (std::size_t(2) << 20) << true;
}

void TestNaviSearchRun::memoryBudgetStopsWithAMessageAndKeepsTheRoutes()
{
    QFETCH(std::size_t, extra);
    QFETCH(bool, listed);
    QStringList towns;
    for (char c = 'A'; c <= 'N'; ++c)
        towns << QString(QChar(c));
    Run run(completeMap(towns));
    RouteSearch probe(run.loaded.graph, QStringLiteral("A"), QStringLiteral("N"), 4);
    probe.step();
    SearchLimits limits;
    limits.memoryBudget = extra == 0 ? probe.memoryBytes() / 2 : probe.memoryBytes() + extra;
    run.search.setLimits(limits);
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("N"), 4));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.prompt.messages.size(), 1);
    const QString message = run.prompt.messages.first();
    QVERIFY(message.contains(QStringLiteral("メモリの上限")));
    QCOMPARE(message.contains(QStringLiteral("一覧に表示")), listed);
    QCOMPARE(run.list.count() > 0, listed);
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
    QVERIFY(!run.search.walkedToTheEnd());
}

void TestNaviSearchRun::secondStartIsRefusedWhileRunning()
{
    Run run(detourMap());
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(!run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.started.size(), 1);
    QCOMPARE(texts(run.list), (QStringList{"00003-A-B-C-D", "00100-A-D"}));
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.list.count(), 2);
}

void TestNaviSearchRun::cancelStopsWithoutASound()
{
    Run run(completeMap({"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("無"), 4));
    run.search.cancel();
    QVERIFY(!run.search.isRunning());
    QTest::qWait(100);
    QCOMPARE(run.finished.size(), 0);
    QCOMPARE(run.captions.size(), 0);
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("B"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.list.text(0), QStringLiteral("00001-A-B"));
}

void TestNaviSearchRun::failedRoadQueryIsReported_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<qint64>("maxRoadRows");
    QTest::addColumn<QString>("said");
    QTest::newRow("no table") << QStringList{"DROP TABLE tbl_距離"} << qint64(100)
                              << QStringLiteral("問い合わせ");
    QTest::newRow("more rows than the bound")
        << QStringList{} << qint64(3) << QStringLiteral("tbl_距離");
}

void TestNaviSearchRun::failedRoadQueryIsReported()
{
    QFETCH(QStringList, statements);
    QFETCH(qint64, maxRoadRows);
    QFETCH(QString, said);
    Run run(detourMap());
    for (const QString& statement : statements)
        QVERIFY(alterMap(run.loaded.db, statement));
    run.maxRoadRows = maxRoadRows;
    run.list.addRoutes({"99999-left-over"});
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.prompt.errors.size(), 1);
    QVERIFY2(run.prompt.errors.first().contains(said), qPrintable(run.prompt.errors.first()));
    QVERIFY(run.prompt.questions.isEmpty());
    QCOMPARE(run.list.count(), 0);
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
    QVERIFY(!run.search.isRunning());
}

void TestNaviSearchRun::endlessRoadsLeaveTheWindowsFree()
{
    Run run(detourMap());
    QVERIFY(alterMap(run.loaded.db, QStringLiteral("DROP TABLE tbl_距離")));
    QVERIFY(alterMap(run.loaded.db,
                     QStringLiteral("CREATE VIEW tbl_距離 AS WITH RECURSIVE n(i) AS "
                                    "(SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                    "SELECT 'A' AS 出発地, 'B' AS 目的地, 1 AS km FROM n")));
    // Read on this thread, the roads would never let start() return.
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    bool answered = false;
    QTimer::singleShot(0, [&answered] { answered = true; });
    QTRY_VERIFY(answered);
    QVERIFY(run.search.isRunning());
    run.search.cancel();
    QVERIFY(!run.search.isRunning());
    QCOMPARE(run.finished.size(), 0);
}

void TestNaviSearchRun::failureEndsTheRunWithOneReport_data()
{
    QTest::addColumn<bool>("onTheWorker"); // else while the step's routes are listed
    QTest::addColumn<int>("failingStep");
    QTest::addColumn<FailureKind>("kind");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QStringList>("kept");
    const QString memory = QStringLiteral("メモリが足りないため、処理を中止しました。");
    QTest::newRow("memory, listing the first step")
        << false << 0 << FailureKind::Memory << memory << QStringList{};
    QTest::newRow("memory, listing after a question")
        << false << 1 << FailureKind::Memory << memory << QStringList{"00100-A-D"};
    QTest::newRow("memory, worker") << true << 0 << FailureKind::Memory << memory << QStringList{};
    QTest::newRow("library, worker")
        << true << 0 << FailureKind::Library
        << QStringLiteral("処理中にエラーが発生しました。\n装置が外れた") << QStringList{};
    QTest::newRow("the game's own, worker")
        << true << 0 << FailureKind::Game << QStringLiteral("道路を読めません") << QStringList{};
    QTest::newRow("the game's own, listing")
        << false << 1 << FailureKind::Game << QStringLiteral("道路を読めません")
        << QStringList{"00100-A-D"};
}

void TestNaviSearchRun::failureEndsTheRunWithOneReport()
{
    QFETCH(bool, onTheWorker);
    QFETCH(int, failingStep);
    QFETCH(FailureKind, kind);
    QFETCH(QString, said);
    QFETCH(QStringList, kept);
    Run run(detourMap());
    int steps = 0;
    bool armed = true;
    const auto failAt = [&](int step) {
        if (!armed || step != failingStep)
            return;
        armed = false;
        switch (kind) {
        case FailureKind::Memory:
            throw std::bad_alloc();
        case FailureKind::Library:
            throw std::runtime_error("装置が外れた");
        case FailureKind::Game:
            throw MoraveltError(QStringLiteral("道路を読めません"));
        }
    };
    if (onTheWorker)
        run.beforeRoads = [&] { failAt(0); };
    else
        run.search.setBeforeListing([&] { failAt(steps++); });
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.prompt.errors, QStringList{said});
    QCOMPARE(run.prompt.questions.size(), failingStep);
    QCOMPARE(texts(run.list), kept);
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
    QCOMPARE(run.finished.size(), 1);
    QVERIFY(!run.search.isRunning());
    QVERIFY(!run.search.walkedToTheEnd());

    // The game goes on: the next search runs whole.
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(texts(run.list), (QStringList{"00003-A-B-C-D", "00100-A-D"}));
    QCOMPARE(run.prompt.errors.size(), 1);
    QCOMPARE(run.finished.size(), 2);
    QVERIFY(run.search.walkedToTheEnd());
}

void TestNaviSearchRun::deletedFromInsideTheQuestion_data()
{
    QTest::addColumn<bool>("cancelFirst");
    // As the navi commands let a runner go while its question may be open.
    QTest::newRow("cancelled, then deleteLater") << true;
    // The run goes on to its next step until the deletion cancels it.
    QTest::newRow("deleteLater alone") << false;
}

void TestNaviSearchRun::deletedFromInsideTheQuestion()
{
    QFETCH(bool, cancelFirst);
    LoadedMap loaded(twoLegMap());
    const qint64 maxRows = RoadGraph::kMaxRows;
    const std::function<void()> nothing;
    RouteListModel list;
    TestPrompt prompt;
    QPointer<NaviSearchRun> runner =
        new NaviSearchRun(readRoads(loaded.cn, &maxRows, &nothing), list, prompt);
    QSignalSpy captions(runner.data(), &NaviSearchRun::captionChanged);
    QSignalSpy finished(runner.data(), &NaviSearchRun::finished);
    int listed = 0;
    runner->setBeforeListing([&listed] { ++listed; });
    prompt.whileAsking = [&] {
        if (cancelFirst)
            runner->cancel();
        runner->deleteLater();
    };
    QVERIFY(runner->start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QTRY_VERIFY(runner.isNull());
    QTest::qWait(50);
    QCOMPARE(prompt.questions.size(), 1);
    // Steps 0 and 1 were listed; only a run not cancelled showed step 1's caption and went
    // on, and nothing was handled after the deletion.
    QCOMPARE(listed, 2);
    QCOMPARE(captions.size(), cancelFirst ? 0 : 1);
    QCOMPARE(texts(list), QStringList{"00002-A-B-D"});
    QCOMPARE(finished.size(), 0);
    QVERIFY(prompt.errors.isEmpty());
}

void TestNaviSearchRun::destroyedWhileTheWorkerRuns_data()
{
    QTest::addColumn<bool>("readingRoads"); // else walking a large step
    QTest::newRow("reading the roads") << true;
    QTest::newRow("walking") << false;
}

void TestNaviSearchRun::destroyedWhileTheWorkerRuns()
{
    QFETCH(bool, readingRoads);
    LoadedMap loaded(completeMap({"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    const qint64 maxRows = RoadGraph::kMaxRows;
    const std::function<void()> nothing;
    const NaviSearchRun::RoadsSource read = readRoads(loaded.cn, &maxRows, &nothing);
    // Roads that come only after the search is cancelled, and a while after that.
    std::atomic<bool> entered{false};
    std::atomic<bool> left{false};
    const NaviSearchRun::RoadsSource slow =
        [&](const std::atomic<bool>& cancel) -> std::shared_ptr<const RoadGraph> {
        entered = true;
        while (!cancel.load())
            QThread::msleep(1);
        QThread::msleep(20);
        left = true;
        return nullptr;
    };
    RouteListModel list;
    TestPrompt prompt;
    auto* runner = new NaviSearchRun(readingRoads ? slow : read, list, prompt);
    QSignalSpy finished(runner, &NaviSearchRun::finished);
    QVERIFY(runner->start(QStringLiteral("A"), QStringLiteral("無"), 4));
    if (readingRoads)
        QTRY_VERIFY(entered.load());
    else
        QTest::qWait(20); // read by now, and somewhere in its steps
    delete runner;
    // The destructor waited for the worker.
    QCOMPARE(left.load(), readingRoads);
    QTest::qWait(50);
    QCOMPARE(list.count(), 0);
    QCOMPARE(finished.size(), 0);
    QVERIFY(prompt.errors.isEmpty());
}

QTEST_GUILESS_MAIN(TestNaviSearchRun)
#include "tst_navisearchrun.moc"
