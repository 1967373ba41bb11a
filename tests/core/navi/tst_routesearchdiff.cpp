// SPDX-License-Identifier: MIT

#include "bfsroutesearch.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "searchtestmaps.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace moravelt;
using namespace moravelt::test;

namespace {

struct ReferenceStep
{
    QStringList routes;
    QString caption; // null when the caption is left alone
    bool question = false;
    bool last = false;
};

// The search as the step-by-step description tells it: text entries "-A-B-total", one
// query per entry, and a text step record "-B-C+-E+". Names are compared whole, by
// splitting the texts at "-", and totals are summed without rounding.
std::vector<ReferenceStep> referenceSearch(QuerySlots& rs, const QString& departure,
                                           const QString& destination, int level)
{
    const int lookBack = level + 1;
    const auto towns = [](const QString& dashed) { return dashed.mid(1).split(u'-'); };
    QStringList frontier{u'-' + departure + QStringLiteral("-0")};
    QStringList next;
    QString record;
    std::vector<ReferenceStep> steps;
    for (int stepIndex = 0;; ++stepIndex) {
        ReferenceStep step;
        for (const QString& entry : frontier) {
            const qsizetype cut = entry.lastIndexOf(u'-');
            const QString path = entry.left(cut);
            const double total = entry.mid(cut + 1).toDouble();
            const QStringList onPath = towns(path);
            rs.SetSQL(QueryTexts::distances(onPath.last()));
            for (RecordsetPtr roads = rs.Rs(); !roads->eof(); roads->moveNext()) {
                const QString candidate = roads->value(QStringLiteral("目的地")).toString();
                const double km = roads->value(QStringLiteral("km")).toDouble();
                if (onPath.contains(candidate))
                    continue;
                if (candidate == destination) {
                    const double whole = std::floor(total + km + 0.5);
                    step.routes << QString::number(qint64(whole)).rightJustified(5, u'0') + path +
                                       u'-' + candidate;
                    continue;
                }
                const QStringList segments = record.isEmpty() ? QStringList() : record.split(u'+');
                bool pruned = false;
                const qsizetype s = segments.size() - 1;
                for (qsizetype j = 0; s >= lookBack && j <= s - lookBack && !pruned; ++j)
                    pruned = towns(segments[j]).contains(candidate);
                if (!pruned)
                    next << path + u'-' + candidate + u'-' + QString::number(total + km, 'g', 17);
                bool met = false;
                for (const QString& segment : segments)
                    met = met || towns(segment).contains(candidate);
                if (!met)
                    record += u'-' + candidate;
            }
        }
        if (next.isEmpty()) {
            step.last = true;
            steps.push_back(step);
            return steps;
        }
        frontier = next;
        next.clear();
        step.question = !step.routes.isEmpty();
        if (record.contains(u'+'))
            step.caption = record.mid(record.lastIndexOf(u'+'));
        record += u'+';
        steps.push_back(step);
    }
}

// A small road map whose names overlap as texts, with one-way, repeated and looping rows.
TestMap randomMap(QRandomGenerator& random, QStringList& towns)
{
    static const QStringList pool{
        QStringLiteral("津"),   QStringLiteral("大津"), QStringLiteral("津山"),
        QStringLiteral("山"),   QStringLiteral("京"),   QStringLiteral("京都"),
        QStringLiteral("東京"), QStringLiteral("A"),    QStringLiteral("AB")};
    towns = pool;
    for (qsizetype i = towns.size() - 1; i > 0; --i)
        towns.swapItemsAt(i, random.bounded(int(i + 1)));
    towns = towns.mid(0, 3 + random.bounded(5));
    const int percent = 25 + random.bounded(50);
    TestMap map;
    for (const QString& from : towns) {
        for (const QString& to : towns) {
            if (random.bounded(100) >= percent && !(from == to && random.bounded(8) == 0))
                continue;
            const int repeats = random.bounded(10) == 0 ? 2 : 1;
            for (int r = 0; r < repeats; ++r)
                oneWay(map, from, to, 0.5 * (1 + random.bounded(60)));
        }
    }
    for (qsizetype i = qsizetype(map.roads.size()) - 1; i > 0; --i)
        std::swap(map.roads[std::size_t(i)], map.roads[std::size_t(random.bounded(int(i + 1)))]);
    return map;
}

// A larger map for the comparison with the breadth-first search: names that nest, parallel
// and repeated rows, one-way rows, and a pocket of towns that only the destination leads
// into. Returns the departure and the destination through the last two arguments.
TestMap pocketMap(QRandomGenerator& random, QString& departure, QString& destination)
{
    static const QStringList pool{"津", "大津", "津山", "山", "京",   "京都", "東京", "A",
                                  "AB", "B",    "BA",   "町", "町田", "田",   "A B",  "A!"};
    QStringList towns = pool;
    for (qsizetype i = towns.size() - 1; i > 0; --i)
        towns.swapItemsAt(i, random.bounded(int(i + 1)));
    const int count = 5 + random.bounded(8);
    const QStringList main = towns.mid(0, count);
    const QStringList pocket = towns.mid(count, random.bounded(3));
    const int percent = 20 + random.bounded(40);
    TestMap map;
    const auto leg = [&](const QString& from, const QString& to) {
        const int parallel = random.bounded(8) == 0 ? 2 : 1;
        for (int r = 0; r < parallel; ++r)
            oneWay(map, from, to, random.bounded(4) == 0 ? 1 : 0.5 * (1 + random.bounded(40)));
        if (random.bounded(3) != 0)
            oneWay(map, to, from, 0.5 * (1 + random.bounded(40)));
    };
    for (const QString& from : main) {
        for (const QString& to : main) {
            if (from < to && random.bounded(100) < percent)
                leg(from, to);
        }
    }
    departure = main[random.bounded(int(main.size()))];
    const int pick = random.bounded(12);
    destination = pick == 0   ? departure
                  : pick == 1 ? QStringLiteral("無")
                              : main[random.bounded(int(main.size()))];
    for (const QString& town : pocket) {
        oneWay(map, destination, town, 1 + random.bounded(9));
        oneWay(map, town, main[random.bounded(int(main.size()))], 1 + random.bounded(9));
    }
    if (pocket.size() == 2)
        leg(pocket[0], pocket[1]);
    for (qsizetype i = qsizetype(map.roads.size()) - 1; i > 0; --i)
        std::swap(map.roads[std::size_t(i)], map.roads[std::size_t(random.bounded(int(i + 1)))]);
    return map;
}

} // namespace

class TestRouteSearchDiff : public QObject
{
    Q_OBJECT
private slots:
    void matchesTheStepByStepSearch();
    void matchesTheBreadthFirstSearch();
    void fullListKeepsTheBreadthFirstSearchsFirstRoutes();
    void fullListOfDenseMapsKeepsTheFirstRoutes();
    void memoryBudgetKeepsWhatWasFound();
};

void TestRouteSearchDiff::matchesTheStepByStepSearch()
{
    int routes = 0;
    int questions = 0;
    for (quint32 seed = 1; seed <= 300; ++seed) {
        QRandomGenerator random(seed);
        QStringList towns;
        const TestMap map = randomMap(random, towns);
        LoadedMap loaded(map);
        QuerySlots rs(loaded.cn);
        const QString departure = towns[random.bounded(int(towns.size()))];
        const QString destination = random.bounded(10) == 0
                                        ? QStringLiteral("無")
                                        : towns[random.bounded(int(towns.size()))];
        const int level = int(seed % 5);
        const std::vector<ReferenceStep> expected =
            referenceSearch(rs, departure, destination, level);

        RouteSearch search(loaded.graph, departure, destination, level);
        const std::vector<SearchStep> steps = allSteps(search);
        const QByteArray where = QStringLiteral("seed %1, %2 to %3, level %4")
                                     .arg(seed)
                                     .arg(departure, destination)
                                     .arg(level)
                                     .toUtf8();
        QVERIFY2(steps.size() == expected.size(), where.constData());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const SearchStep& step = steps[i];
            QVERIFY2(step.routes.texts() == expected[i].routes, where.constData());
            QVERIFY2(step.frontierEmpty == expected[i].last, where.constData());
            QVERIFY2((step.found() && !step.frontierEmpty) == expected[i].question,
                     where.constData());
            const QString caption =
                step.index > 0 && !step.frontierEmpty ? step.caption() : QString();
            QVERIFY2(caption == expected[i].caption, where.constData());
            routes += step.routes.size();
            questions += expected[i].question ? 1 : 0;
        }
    }
    // The maps are meant to exercise the search, not to miss the destination every time.
    QVERIFY(routes > 1000);
    QVERIFY(questions > 100);
}

void TestRouteSearchDiff::matchesTheBreadthFirstSearch()
{
    int routes = 0;
    int pastLastRoute = 0;
    for (quint32 seed = 1; seed <= 600; ++seed) {
        QRandomGenerator random(seed);
        QString departure;
        QString destination;
        LoadedMap loaded(pocketMap(random, departure, destination));
        const int level = int(seed % 5);
        test::BfsRouteSearch oracle(loaded.graph, departure, destination, level);
        std::vector<test::BfsRouteSearch::Step> expected;
        while (!oracle.isOver())
            expected.push_back(oracle.step());

        RouteSearch search(loaded.graph, departure, destination, level);
        const std::vector<SearchStep> steps = allSteps(search);
        const QByteArray where = QStringLiteral("seed %1, %2 to %3, level %4")
                                     .arg(seed)
                                     .arg(departure, destination)
                                     .arg(level)
                                     .toUtf8();
        QVERIFY2(steps.size() == expected.size(), where.constData());
        QVERIFY2(search.endStep() == int(expected.size()) - 1, where.constData());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const QStringList found = steps[i].routes.texts();
            QVERIFY2(found == expected[i].routes, where.constData());
            QVERIFY2(search.routesInStep(int(i)) == std::uint64_t(found.size()), where.constData());
            QVERIFY2(steps[i].firstMet == expected[i].firstMet, where.constData());
            QVERIFY2(steps[i].frontierEmpty == expected[i].frontierEmpty, where.constData());
            QVERIFY2(steps[i].stop == SearchStop::None, where.constData());
            routes += int(found.size());
        }
        int lastFound = -1;
        for (std::size_t i = 0; i < expected.size(); ++i)
            lastFound = expected[i].routes.isEmpty() ? lastFound : int(i);
        pastLastRoute += int(expected.size()) - 1 - lastFound > 1 ? 1 : 0;
    }
    // The maps must exercise the search: many routes, and searches that go on well past
    // their last route (so the end step is not simply the last step with a route).
    QVERIFY(routes > 10000);
    QVERIFY(pastLastRoute > 100);
}

void TestRouteSearchDiff::fullListKeepsTheBreadthFirstSearchsFirstRoutes()
{
    // With a small list the search prunes by distance; what the list keeps must still be
    // exactly the first routes, in text order, of everything the level allows.
    int filled = 0;
    std::int64_t walkedCapped = 0;
    std::int64_t walkedWhole = 0;
    int filledFifty = 0;
    for (quint32 seed = 1; seed <= 600; ++seed) {
        QRandomGenerator random(seed);
        QString departure;
        QString destination;
        LoadedMap loaded(pocketMap(random, departure, destination));
        const int level = 2 + int(seed % 3);
        const qsizetype keep = seed % 4 == 0 ? 1 : seed % 4 == 1 ? 7 : 50;
        test::BfsRouteSearch oracle(loaded.graph, departure, destination, level);
        QStringList all;
        while (!oracle.isOver())
            all << oracle.step().routes;
        std::sort(all.begin(), all.end());

        SearchLimits limits;
        limits.maxRoutes = keep;
        RouteSearch capped(loaded.graph, departure, destination, level, limits);
        const std::vector<SearchStep> steps = allSteps(capped);
        RouteSearch whole(loaded.graph, departure, destination, level);
        allSteps(whole);
        const QByteArray where = QStringLiteral("seed %1, %2 to %3, level %4, list of %5")
                                     .arg(seed)
                                     .arg(departure, destination)
                                     .arg(level)
                                     .arg(keep)
                                     .toUtf8();
        QVERIFY2(steps.back().stop == SearchStop::None, where.constData());
        QVERIFY2(firstInTextOrder(steps, keep) == all.mid(0, keep), where.constData());
        const auto full = std::count_if(steps.begin(), steps.end(),
                                        [](const SearchStep& step) { return step.listFilled; });
        QVERIFY2(full == (all.size() >= keep ? 1 : 0), where.constData());
        filled += all.size() > keep ? 1 : 0;
        filledFifty += all.size() > keep && keep == 50 ? 1 : 0;
        walkedCapped += capped.expandedTotal();
        walkedWhole += whole.expandedTotal();
    }
    // Many lists fill, lists of 50 among them, so that the bound has work to do.
    QVERIFY(filled > 120);
    QVERIFY(filledFifty > 20);
    // The bound does cut: a list of at most 50 needs far less of the walk.
    QVERIFY(walkedCapped * 2 < walkedWhole);
}

void TestRouteSearchDiff::fullListOfDenseMapsKeepsTheFirstRoutes()
{
    // Dense maps give steps of many routes over a wide spread of totals, so a step that
    // fills the list is walked in many bands of totals; with roads of up to 40,000 km some
    // totals have six digits, which sort before longer five-digit ones.
    static const QStringList pool{"津", "大津", "津山", "山", "京", "京都", "東京", "A", "AB"};
    std::int64_t given = 0;
    std::int64_t routes = 0;
    for (quint32 seed = 1; seed <= 60; ++seed) {
        QRandomGenerator random(seed);
        const QStringList towns = pool.mid(0, 8 + random.bounded(2));
        const double longest = seed % 3 == 0 ? 40000 : 400;
        TestMap map;
        for (const QString& from : towns) {
            for (const QString& to : towns) {
                if (from != to && random.bounded(100) < 85)
                    oneWay(map, from, to, 0.5 * (1 + random.bounded(int(longest * 2))));
            }
        }
        LoadedMap loaded(map);
        const QString& departure = towns.front();
        const QString& destination = towns.back();
        const int level = 2 + int(seed % 3);
        const qsizetype keep = seed % 2 == 0 ? 5 : 60;
        test::BfsRouteSearch oracle(loaded.graph, departure, destination, level);
        QStringList all;
        while (!oracle.isOver())
            all << oracle.step().routes;
        std::sort(all.begin(), all.end());
        SearchLimits limits;
        limits.maxRoutes = keep;
        RouteSearch search(loaded.graph, departure, destination, level, limits);
        const std::vector<SearchStep> steps = allSteps(search);
        const QByteArray where =
            QStringLiteral("seed %1, level %2, list of %3").arg(seed).arg(level).arg(keep).toUtf8();
        QVERIFY2(steps.back().stop == SearchStop::None, where.constData());
        QVERIFY2(firstInTextOrder(steps, keep) == all.mid(0, keep), where.constData());
        given += search.routesFound();
        routes += all.size();
    }
    // The lists are far shorter than what the maps hold, and the search gives out only a
    // small part of it.
    QVERIFY(routes > 20000);
    QVERIFY(given * 5 < routes);
}

void TestRouteSearchDiff::memoryBudgetKeepsWhatWasFound()
{
    // A dense map: the budget leaves room for the table and a little more, so the walk stops
    // part way; what it found is what the breadth-first search finds first, and a larger
    // budget finds more.
    QStringList towns;
    for (char c = 'A'; c <= 'N'; ++c)
        towns << QString(QChar(c));
    LoadedMap loaded(completeMap(towns));
    const QString from = QStringLiteral("A");
    const QString to = QStringLiteral("N");
    RouteSearch probe(loaded.graph, from, to, 4);
    probe.step();
    qsizetype before = -1;
    for (const std::size_t extra :
         {std::size_t(64) << 10, std::size_t(1) << 20, std::size_t(5) << 19}) {
        SearchLimits limits;
        limits.memoryBudget = probe.memoryBytes() + extra;
        RouteSearch search(loaded.graph, from, to, 4, limits);
        const std::vector<SearchStep> steps = allSteps(search);
        QCOMPARE(steps.back().stop, SearchStop::MemoryBudget);
        QStringList found;
        for (const SearchStep& step : steps)
            found << step.routes.texts();
        test::BfsRouteSearch oracle(loaded.graph, from, to, 4);
        QStringList expected;
        while (!oracle.isOver() && expected.size() < found.size())
            expected << oracle.step().routes;
        QCOMPARE(found, expected.mid(0, found.size()));
        QCOMPARE(search.routesFound(), found.size());
        QVERIFY(found.size() > before);
        before = found.size();
    }
}

QTEST_GUILESS_MAIN(TestRouteSearchDiff)
#include "tst_routesearchdiff.moc"
