// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "mapdb/recordset.h"
#include "navi/kshortestpaths.h"
#include "navi/roadgraph.h"
#include "navi/routestring.h"
#include "navi/shortestroutes.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <map>

using namespace moravelt;

namespace {

using Rows = std::vector<QVariantList>; // 出発地, 目的地, km

RoadGraph graphOf(const Rows& rows)
{
    return RoadGraph::fromRecordset(Recordset(
        {QStringLiteral("出発地"), QStringLiteral("目的地"), QStringLiteral("km")}, rows));
}

// Every loopless route, by walking all of them: the answer the search must give.
QStringList bruteForce(const Rows& rows, const QString& from, const QString& to, int k)
{
    std::map<QString, std::map<QString, std::int64_t>> shortest; // parallel rows: the shortest
    for (const QVariantList& row : rows) {
        bool ok = false;
        const double km = row[2].toDouble(&ok);
        if (row[2].isNull() || !ok || km < 0 || row[0] == row[1])
            continue;
        const std::int64_t microKm = std::llround(km * 1e6);
        auto [it, added] = shortest[row[0].toString()].try_emplace(row[1].toString(), microKm);
        if (!added)
            it->second = std::min(it->second, microKm);
    }
    std::vector<std::pair<std::int64_t, QString>> found;
    QStringList path{from};
    const auto walk = [&](auto&& self, std::int64_t total) -> void {
        if (path.last() == to) {
            found.push_back({total, RouteString::make(total, path)});
            return;
        }
        for (const auto& [next, microKm] : shortest[path.last()]) {
            if (path.contains(next))
                continue;
            path << next;
            self(self, total + microKm);
            path.removeLast();
        }
    };
    if (from != to)
        walk(walk, 0);
    std::sort(found.begin(), found.end());
    QStringList routes;
    for (std::size_t i = 0; i < found.size() && i < std::size_t(k); ++i)
        routes << found[i].second;
    return routes;
}

QVariantList row(const char* from, const char* to, const QVariant& km)
{
    return {QString::fromUtf8(from), QString::fromUtf8(to), km};
}

} // namespace

class TestShortestRoutes : public QObject
{
    Q_OBJECT
private slots:
    void matchesEveryLooplessRouteOnRandomMaps();
    void findsRoutes_data();
    void findsRoutes();
    void refusesWithAMessage_data();
    void refusesWithAMessage();
    void zeroKmTiesGiveExactlyK_data();
    void zeroKmTiesGiveExactlyK();
    void stopsOnceCancelled();
};

void TestShortestRoutes::matchesEveryLooplessRouteOnRandomMaps()
{
    // Names that are prefixes of one another and short lengths make many ties, so the order of
    // equal totals is put to the test as much as the lengths.
    const QStringList names{"大", "大阪", "大(", "京都", "奈良", "堺", "津", "A"};
    QRandomGenerator random(20261208);
    for (int map = 0; map < 1000; ++map) {
        const int towns = 2 + int(random.bounded(6));
        Rows rows;
        const int roads = int(random.bounded(towns * towns + 2));
        for (int r = 0; r < roads; ++r) {
            const QString from = names[random.bounded(towns)];
            const QString to = names[random.bounded(towns)];
            const int kind = int(random.bounded(20));
            QVariant km = double(random.bounded(1, 4));
            if (kind == 0)
                km = QVariant(); // null rows are skipped
            else if (kind == 1)
                km = -3.0;
            else if (kind == 2 && map % 2 == 0)
                km = 0.0; // on half the maps only: they take the other way to order ties
            else if (kind == 3)
                km = 2.5;
            rows.push_back({from, to, km});
        }
        const RoadGraph graph = graphOf(rows);
        for (const int k : {1, 2, 4, 10}) {
            const QString from = names[random.bounded(towns)];
            const QString to = names[random.bounded(towns)];
            const QStringList expected = bruteForce(rows, from, to, k);
            QStringList actual;
            try {
                actual = ShortestRoutes::find(graph, from, to, k);
            } catch (const MoraveltError&) {
                // Refused: no route, the same town, or a town on no road.
            }
            if (actual != expected) {
                for (const QVariantList& r : rows)
                    qWarning() << r;
                QCOMPARE(actual, expected);
            }
        }
    }
}

void TestShortestRoutes::findsRoutes_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("k");
    QTest::addColumn<QStringList>("expected");
    const auto both = [](Rows& rows, const char* a, const char* b, double km) {
        rows.push_back(row(a, b, km));
        rows.push_back(row(b, a, km));
    };
    Rows triangle;
    both(triangle, "A", "B", 10);
    both(triangle, "B", "C", 20);
    both(triangle, "A", "C", 50);
    QTest::newRow("triangle") << triangle << 10 << QStringList{"00030-A-B-C", "00050-A-C"};
    QTest::newRow("only the first") << triangle << 1 << QStringList{"00030-A-B-C"};

    Rows duplicates = triangle;
    duplicates.push_back(row("A", "C", 25));
    duplicates.push_back(row("A", "C", 40));
    QTest::newRow("duplicate rows count once, the shortest")
        << duplicates << 10 << QStringList{"00025-A-C", "00030-A-B-C"};

    // Four equal routes through 乙, 丙, 甲 and 丁 and one longer: ties in text order.
    Rows ties;
    for (const char* via : {"乙", "丙", "甲", "丁"}) {
        ties.push_back(row("S", via, 5));
        ties.push_back(row(via, "T", 5));
    }
    ties.push_back(row("S", "T", 11));
    QTest::newRow("ties in text order")
        << ties << 3 << QStringList{"00010-S-丁-T", "00010-S-丙-T", "00010-S-乙-T"};

    Rows ferry;
    both(ferry, "本土", "港", 30);
    ferry.push_back(row("港", "島", 120)); // the ferry, one way
    ferry.push_back(row("島", "港", 120));
    both(ferry, "本土", "山", 15);
    QTest::newRow("island by ferry only") << ferry << 10 << QStringList{"00150-本土-港-島"};

    Rows bad;
    bad.push_back(row("A", "B", QVariant()));
    bad.push_back(row("A", "B", -1.0));
    bad.push_back(row("A", "B", QStringLiteral("遠い")));
    both(bad, "A", "C", 4);
    both(bad, "C", "B", 4);
    QTest::newRow("null, negative and non-numeric km skipped")
        << bad << 10 << QStringList{"00008-A-C-B"};

    Rows absurd;
    both(absurd, "A", "B", 9e12);
    both(absurd, "A", "C", 4);
    both(absurd, "C", "B", 4);
    QTest::newRow("an absurd road dropped, the others kept")
        << absurd << 10 << QStringList{"00008-A-C-B"};

    Rows big;
    both(big, "A", "B", 60000);
    both(big, "B", "C", 50000);
    QTest::newRow("six digits") << big << 10 << QStringList{"110000-A-B-C"};
}

void TestShortestRoutes::findsRoutes()
{
    QFETCH(Rows, rows);
    QFETCH(int, k);
    QFETCH(QStringList, expected);
    const QStringList parts = RouteString::split(expected.first());
    QCOMPARE(ShortestRoutes::find(graphOf(rows), parts[1], parts.last(), k), expected);
}

void TestShortestRoutes::refusesWithAMessage_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("message");
    QTest::newRow("no departure") << ""
                                  << "B"
                                  << "出発地を入力してください";
    QTest::newRow("no destination") << "A"
                                    << ""
                                    << "目的地を入力してください";
    QTest::newRow("unknown departure") << "X"
                                       << "B"
                                       << "出発地「X」という町は地図にありません";
    QTest::newRow("unknown destination") << "A"
                                         << "Y"
                                         << "目的地「Y」という町は地図にありません";
    QTest::newRow("same town") << "A"
                               << "A"
                               << "出発地と目的地が同じ町「A」です";
    QTest::newRow("no route") << "B"
                              << "C"
                              << "「B」から「C」へのルートはありません";
}

void TestShortestRoutes::refusesWithAMessage()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QString, message);
    // One-way roads: C reaches A, but nothing leads to C.
    const RoadGraph graph = graphOf({row("A", "B", 1.0), row("B", "A", 1.0), row("C", "A", 1.0)});
    try {
        ShortestRoutes::find(graph, departure, destination);
        QFAIL("no message");
    } catch (const MoraveltError& error) {
        QCOMPARE(error.message(), message);
    }
}

void TestShortestRoutes::zeroKmTiesGiveExactlyK_data()
{
    // Complete maps where every road, or every other, is 0 km: thousands of routes tie, and
    // the first k of them in text order are the answer. Names nest to test the text order.
    QTest::addColumn<Rows>("rows");
    const QStringList names{"大", "大阪", "大(", "京都", "奈良", "堺", "A"};
    for (const int towns : {4, 7}) {
        for (const bool mixed : {false, true}) {
            Rows rows;
            int i = 0;
            for (int a = 0; a < towns; ++a) {
                for (int b = 0; b < towns; ++b) {
                    if (a != b)
                        rows.push_back({names[a], names[b], mixed ? double(i++ % 2) : 0.0});
                }
            }
            QTest::addRow("%d towns, %s", towns, mixed ? "0 and 1 km" : "all 0 km") << rows;
        }
    }
}

void TestShortestRoutes::zeroKmTiesGiveExactlyK()
{
    QFETCH(Rows, rows);
    const RoadGraph graph = graphOf(rows);
    const QStringList& towns = graph.townNames();
    for (const int k : {1, 3, 10, 50}) {
        for (const QString& from : towns) {
            for (const QString& to : towns) {
                if (from == to)
                    continue;
                const QStringList expected = bruteForce(rows, from, to, k);
                const QStringList actual = ShortestRoutes::find(graph, from, to, k);
                if (towns.size() == 7) // ties run on past the k-th
                    QCOMPARE(expected.size(), k);
                if (actual != expected)
                    QCOMPARE(actual, expected);
            }
        }
    }
}

void TestShortestRoutes::stopsOnceCancelled()
{
    // Far more tied routes than could be searched: a set flag ends the search with nothing.
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names << QStringLiteral("町%1").arg(i);
    Rows rows;
    for (const QString& a : names) {
        for (const QString& b : names) {
            if (a != b)
                rows.push_back({a, b, 0.0});
        }
    }
    const RoadGraph graph = graphOf(rows);
    const std::atomic<bool> cancel{true};
    QCOMPARE(ShortestRoutes::find(graph, names.first(), names.last(), 1000, &cancel),
             QStringList());
    const std::atomic<bool> goOn{false};
    QCOMPARE(ShortestRoutes::find(graph, names.first(), names.last(), 3, &goOn).size(), 3);
}

QTEST_GUILESS_MAIN(TestShortestRoutes)
#include "tst_shortestroutes.moc"
