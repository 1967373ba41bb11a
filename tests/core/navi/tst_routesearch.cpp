// SPDX-License-Identifier: MIT

#include "navi/routestring.h"
#include "searchtestmaps.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

Q_DECLARE_METATYPE(moravelt::SearchLimits)
Q_DECLARE_METATYPE(moravelt::SearchStop)
Q_DECLARE_METATYPE(moravelt::test::TestMap)

namespace {

using StepRoutes = QList<QStringList>;

StepRoutes routesByStep(const std::vector<SearchStep>& steps)
{
    StepRoutes routes;
    for (const SearchStep& step : steps)
        routes << step.routes.texts();
    return routes;
}

} // namespace

class TestRouteSearch : public QObject
{
    Q_OBJECT
private slots:
    void worksOutTheThreeTownExample();
    void lookBackFollowsTheLevel_data();
    void lookBackFollowsTheLevel();
    void namesAreWholeTowns_data();
    void namesAreWholeTowns();
    void topLevelListsEverySimplePathOnce();
    void totalsAreExactAndRoundedOnce_data();
    void totalsAreExactAndRoundedOnce();
    void endsQuietlyWithoutARoute_data();
    void endsQuietlyWithoutARoute();
    void unusableRowsTakeNoPart();
    void limitsStopTheStep_data();
    void limitsStopTheStep();
    void fullListHoldsTheShortestRoute_data();
    void fullListHoldsTheShortestRoute();
};

void TestRouteSearch::worksOutTheThreeTownExample()
{
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 10);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 20);
    map.road(QStringLiteral("A"), QStringLiteral("C"), 50);
    LoadedMap loaded(map);
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("C"), 1);
    const std::vector<SearchStep> steps = allSteps(search);

    QCOMPARE(steps.size(), std::size_t(2));
    QCOMPARE(steps[0].routes.texts(), QStringList{QStringLiteral("00050-A-C")});
    QCOMPARE(steps[0].firstMet, QStringList{QStringLiteral("B")});
    QVERIFY(!steps[0].frontierEmpty);
    QCOMPARE(steps[1].routes.texts(), QStringList{QStringLiteral("00030-A-B-C")});
    QVERIFY(steps[1].frontierEmpty);
    QCOMPARE(steps[1].caption(), QStringLiteral("+"));
    QCOMPARE(steps[0].stop, SearchStop::None);
    QCOMPARE(search.endStep(), 1);
}

void TestRouteSearch::lookBackFollowsTheLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<StepRoutes>("expected");
    // B is first met in step 0; the detours through C reach it in steps 1 and 2.
    const QString direct = QStringLiteral("00002-A-B-Z");
    const QString viaC = QStringLiteral("00003-A-C-B-Z");
    const QString viaCD = QStringLiteral("00004-A-C-D-B-Z");
    QTest::newRow("level 0") << 0 << StepRoutes{{}, {direct}, {}};
    QTest::newRow("level 1") << 1 << StepRoutes{{}, {direct}, {viaC}};
    QTest::newRow("level 2") << 2 << StepRoutes{{}, {direct}, {viaC}, {viaCD}};
}

void TestRouteSearch::lookBackFollowsTheLevel()
{
    QFETCH(int, level);
    QFETCH(StepRoutes, expected);
    TestMap map;
    const std::pair<const char*, const char*> roads[] = {{"A", "B"}, {"A", "C"}, {"C", "B"},
                                                         {"C", "D"}, {"D", "B"}, {"B", "Z"}};
    for (const auto& [from, to] : roads)
        oneWay(map, QString::fromUtf8(from), QString::fromUtf8(to), 1);
    LoadedMap loaded(map);
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("Z"), level);
    const std::vector<SearchStep> steps = allSteps(search);
    QCOMPARE(routesByStep(steps), expected);
    QCOMPARE(steps[0].firstMet, (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
    QCOMPARE(steps[1].caption(), QStringLiteral("+-D"));
    QVERIFY(steps.back().frontierEmpty);
}

void TestRouteSearch::namesAreWholeTowns_data()
{
    QTest::addColumn<TestMap>("map");
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QStringList>("routes");

    // "津" lies inside "大津": as a text search it would count as already on the path.
    TestMap onPath;
    oneWay(onPath, QStringLiteral("大津"), QStringLiteral("津"), 30);
    oneWay(onPath, QStringLiteral("津"), QStringLiteral("松阪"), 20);
    QTest::newRow("on the path") << onPath << QStringLiteral("大津") << QStringLiteral("松阪")
                                 << QStringList{QStringLiteral("00050-大津-津-松阪")};

    // ...or as met in an earlier step, and so pruned.
    TestMap met;
    oneWay(met, QStringLiteral("京都"), QStringLiteral("大津"), 10);
    oneWay(met, QStringLiteral("京都"), QStringLiteral("奈良"), 40);
    oneWay(met, QStringLiteral("奈良"), QStringLiteral("津"), 90);
    oneWay(met, QStringLiteral("津"), QStringLiteral("松阪"), 20);
    QTest::newRow("met before") << met << QStringLiteral("京都") << QStringLiteral("松阪")
                                << QStringList{QStringLiteral("00150-京都-奈良-津-松阪")};

    // A destination inside the departure's name is still reached.
    TestMap destination;
    oneWay(destination, QStringLiteral("大津"), QStringLiteral("津"), 30);
    QTest::newRow("destination") << destination << QStringLiteral("大津") << QStringLiteral("津")
                                 << QStringList{QStringLiteral("00030-大津-津")};
}

void TestRouteSearch::namesAreWholeTowns()
{
    QFETCH(TestMap, map);
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QStringList, routes);
    LoadedMap loaded(map);
    RouteSearch search(loaded.graph, departure, destination, 0);
    QStringList found;
    for (const SearchStep& step : allSteps(search))
        found << step.routes.texts();
    QCOMPARE(found, routes);
}

void TestRouteSearch::topLevelListsEverySimplePathOnce()
{
    const QStringList towns{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                            QStringLiteral("D"), QStringLiteral("E")};
    LoadedMap loaded(completeMap(towns));
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("E"), 4);
    QStringList found;
    QList<int> perStep;
    for (const SearchStep& step : allSteps(search)) {
        found << step.routes.texts();
        perStep << step.routes.size();
    }
    // 1 direct road, then 3, 6 and 6 paths through one, two and three of B, C and D.
    QCOMPARE(perStep, (QList<int>{1, 3, 6, 6}));
    QCOMPARE(QSet<QString>(found.begin(), found.end()).size(), found.size());
    for (const QString& route : found) {
        const QStringList parts = RouteString::split(route).mid(1);
        QCOMPARE(QSet<QString>(parts.begin(), parts.end()).size(), parts.size());
        QCOMPARE(parts.first(), QStringLiteral("A"));
        QCOMPARE(parts.last(), QStringLiteral("E"));
        QCOMPARE(RouteString::split(route).first().toInt(), int(parts.size() - 1));
    }
}

void TestRouteSearch::totalsAreExactAndRoundedOnce_data()
{
    QTest::addColumn<QVariantList>("legs");
    QTest::addColumn<QString>("total");
    // 0.01 + 2.26 + 0.23 is 2.4999999999999996 when summed as binary floating point.
    QTest::newRow("decimal sum") << QVariantList{0.01, 2.26, 0.23} << QStringLiteral("00003");
    QTest::newRow("half away from zero") << QVariantList{2.5} << QStringLiteral("00003");
    QTest::newRow("halves kept until the end")
        << QVariantList{0.5, 0.5, 0.5} << QStringLiteral("00002");
    QTest::newRow("below a half") << QVariantList{1.25, 1.2} << QStringLiteral("00002");
    QTest::newRow("whole") << QVariantList{12, 30} << QStringLiteral("00042");
    // No road is longer than 99,999 km; a route may be.
    QTest::newRow("six digits") << QVariantList{50000, 49999.5} << QStringLiteral("100000");
    QTest::newRow("integer column value")
        << QVariantList{qint64(99999), qint64(23457)} << QStringLiteral("123456");
}

void TestRouteSearch::totalsAreExactAndRoundedOnce()
{
    QFETCH(QVariantList, legs);
    QFETCH(QString, total);
    TestMap map;
    QStringList towns{QStringLiteral("T0")};
    for (int i = 0; i < legs.size(); ++i) {
        towns << QStringLiteral("T%1").arg(i + 1);
        oneWay(map, towns[i], towns[i + 1], legs[i]);
    }
    LoadedMap loaded(map);
    RouteSearch search(loaded.graph, towns.first(), towns.last(), 0);
    QStringList found;
    for (const SearchStep& step : allSteps(search))
        found << step.routes.texts();
    QCOMPARE(found, QStringList{RouteString::make(0, towns).replace(0, 5, total)});
}

void TestRouteSearch::endsQuietlyWithoutARoute_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("steps");
    QTest::newRow("empty departure") << QString() << QStringLiteral("C") << 1;
    QTest::newRow("unknown departure") << QStringLiteral("X") << QStringLiteral("C") << 1;
    QTest::newRow("unreachable") << QStringLiteral("A") << QStringLiteral("Z") << 3;
    QTest::newRow("back to the departure") << QStringLiteral("A") << QStringLiteral("A") << 3;
}

void TestRouteSearch::endsQuietlyWithoutARoute()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(int, steps);
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 1);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 1);
    oneWay(map, QStringLiteral("Z"), QStringLiteral("A"), 1);
    LoadedMap loaded(map);
    RouteSearch search(loaded.graph, departure, destination, 2);
    const std::vector<SearchStep> done = allSteps(search);
    QCOMPARE(int(done.size()), steps);
    for (const SearchStep& step : done)
        QVERIFY(!step.found());
    QVERIFY(done.back().frontierEmpty);
    QCOMPARE(done.back().stop, SearchStop::None);
}

void TestRouteSearch::unusableRowsTakeNoPart()
{
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), QVariant());
    oneWay(map, QStringLiteral("A"), QStringLiteral("C"), 1);
    oneWay(map, QStringLiteral("A"), QStringLiteral(""), 1);
    oneWay(map, QStringLiteral("A"), QStringLiteral("D"), -4);
    oneWay(map, QStringLiteral("C"), QStringLiteral("B"), 2);
    oneWay(map, QStringLiteral("B"), QStringLiteral("D"), 3);
    LoadedMap loaded(map);
    QCOMPARE(loaded.graph.skippedRows(), 3);
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("D"), 4);
    QStringList found;
    for (const SearchStep& step : allSteps(search))
        found << step.routes.texts();
    QCOMPARE(found, QStringList{QStringLiteral("00006-A-C-B-D")});
}

void TestRouteSearch::limitsStopTheStep_data()
{
    QTest::addColumn<SearchLimits>("limits");
    QTest::addColumn<bool>("cancelFirst");
    QTest::addColumn<SearchStop>("stop");
    QTest::addColumn<int>("stoppedStep");
    QTest::addColumn<int>("routes");

    SearchLimits states;
    states.maxStates = 0;
    SearchLimits memory;
    memory.memoryBudget = 0;
    SearchLimits time;
    time.timeBudget = std::chrono::milliseconds(0);
    QTest::newRow("states") << states << false << SearchStop::StateCap << 0 << 0;
    QTest::newRow("memory") << memory << false << SearchStop::MemoryBudget << 0 << 0;
    QTest::newRow("time") << time << false << SearchStop::TimeBudget << 0 << 0;
    QTest::newRow("cancel") << SearchLimits{} << true << SearchStop::Cancelled << 0 << 0;
}

void TestRouteSearch::limitsStopTheStep()
{
    QFETCH(SearchLimits, limits);
    QFETCH(bool, cancelFirst);
    QFETCH(SearchStop, stop);
    QFETCH(int, stoppedStep);
    QFETCH(int, routes);
    const QStringList towns{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                            QStringLiteral("D"), QStringLiteral("E")};
    LoadedMap loaded(completeMap(towns));
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("E"), 4, limits);
    if (cancelFirst)
        search.cancel();
    const std::vector<SearchStep> steps = allSteps(search);
    QCOMPARE(int(steps.size()), stoppedStep + 1);
    QCOMPARE(steps.back().stop, stop);
    QVERIFY(search.isOver());
    QStringList found;
    for (const SearchStep& step : steps)
        found << step.routes.texts();
    QCOMPARE(int(found.size()), routes);
    QCOMPARE(search.routesFound(), routes);
    // A stopped search stays stopped.
    const SearchStep after = search.step();
    QVERIFY(after.frontierEmpty && !after.found() && after.expanded == 0);
}

// A direct road, a mesh of fans that fills a small list in the first steps, and chains of
// short legs that reach the destination only many steps later.
TestMap shortcutMap(int fans, const QList<QList<double>>& chains)
{
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("Z"), 500);
    for (int i = 1; i <= fans; ++i) {
        const QString fan = QStringLiteral("B%1").arg(i);
        oneWay(map, QStringLiteral("A"), fan, 100);
        oneWay(map, fan, QStringLiteral("Z"), 100);
        for (int j = 1; j <= fans; ++j) {
            if (j != i)
                oneWay(map, fan, QStringLiteral("B%1").arg(j), 100);
        }
    }
    for (qsizetype c = 0; c < chains.size(); ++c) {
        QString at = QStringLiteral("A");
        for (qsizetype leg = 0; leg < chains[c].size(); ++leg) {
            const QString next =
                leg + 1 == chains[c].size()
                    ? QStringLiteral("Z")
                    : QStringLiteral("%1%2").arg(QChar(char16_t(u'C' + c))).arg(leg + 1);
            oneWay(map, at, next, chains[c][leg]);
            at = next;
        }
    }
    return map;
}

void TestRouteSearch::fullListHoldsTheShortestRoute_data()
{
    QTest::addColumn<TestMap>("map");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("shortest");
    QTest::addColumn<int>("routesAtLevel4");

    const QList<double> sixLegs{1, 1, 1, 1, 1, 1};
    QTest::newRow("list of 1") << shortcutMap(4, {sixLegs}) << 1
                               << QStringLiteral("00006-A-C1-C2-C3-C4-C5-Z") << 1;
    QTest::newRow("list of 3, two chains")
        << shortcutMap(5, {{2, 2, 2, 2, 2, 2, 2}, {1, 1, 1, 1, 1, 1, 1, 1}}) << 3
        << QStringLiteral("00008-A-D1-D2-D3-D4-D5-D6-D7-Z") << 3;
    // Two chains of 0 km tie: the text order decides, and the list still keeps one.
    QTest::newRow("ties of 0 km") << shortcutMap(4, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}) << 1
                                  << QStringLiteral("00000-A-C1-C2-C3-C4-Z") << 1;
    // A list larger than all the routes: nothing is cut.
    QTest::newRow("list never full")
        << shortcutMap(2, {sixLegs}) << 1000 << QStringLiteral("00006-A-C1-C2-C3-C4-C5-Z") << 6;
}

void TestRouteSearch::fullListHoldsTheShortestRoute()
{
    QFETCH(TestMap, map);
    QFETCH(int, keep);
    QFETCH(QString, shortest);
    QFETCH(int, routesAtLevel4);
    LoadedMap loaded(map);
    SearchLimits limits;
    limits.maxRoutes = keep;
    QStringList firstByLevel;
    for (const int level : {3, 4}) {
        RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("Z"), level, limits);
        const std::vector<SearchStep> steps = allSteps(search);
        QCOMPARE(steps.back().stop, SearchStop::None);
        const QStringList kept = firstInTextOrder(steps, keep);
        QVERIFY(!kept.isEmpty());
        firstByLevel << kept.first();
        if (level == 4)
            QCOMPARE(int(kept.size()), routesAtLevel4);
    }
    QCOMPARE(firstByLevel, (QStringList{shortest, shortest}));
}

QTEST_GUILESS_MAIN(TestRouteSearch)
#include "tst_routesearch.moc"
