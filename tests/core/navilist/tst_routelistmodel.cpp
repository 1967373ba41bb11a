// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "navilist/routelistmodel.h"
#include "routelisttexts.h"
#include "searchtestmaps.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

using namespace moravelt;
using namespace moravelt::test;

namespace {

bool byCodeUnit(const QString& a, const QString& b)
{
    const auto units = [](const QString& text) {
        return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   std::size_t(text.size()));
    };
    return units(a) < units(b);
}

} // namespace

class TestRouteListModel : public QObject
{
    Q_OBJECT
private slots:
    void keepsTextOrderAcrossBatches_data();
    void keepsTextOrderAcrossBatches();
    void selectionFollowsItsRoute();
    void clearEmptiesAndRowsOutsideThrow();
    void searchRoutesSortLikeTheirTexts();
    void mergeFromAnotherThreadKeepsTheList();
    void stoppedSortAndMergeAddNothing();
    void fullListKeepsItsFirstRoutes();
};

void TestRouteListModel::keepsTextOrderAcrossBatches_data()
{
    QTest::addColumn<QList<QStringList>>("batches");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one batch") << QList<QStringList>{{"00050-A-C", "00030-A-B-C", "00030-A-B-D"}}
                               << QStringList{"00030-A-B-C", "00030-A-B-D", "00050-A-C"};
    // Six digits sort by their text, before every five-digit total with a higher first digit.
    QTest::newRow("six digits") << QList<QStringList>{{"20000-A-B", "09999-A-C"}, {"100000-A-D"}}
                                << QStringList{"09999-A-C", "100000-A-D", "20000-A-B"};
    QTest::newRow("interleaved and repeated")
        << QList<QStringList>{{"00010-A-B", "00030-A-B"},
                              {"00040-A-C", "00020-A-C", "00010-A-B"},
                              {},
                              {"00000-A-Z"}}
        << QStringList{"00000-A-Z", "00010-A-B", "00010-A-B",
                       "00020-A-C", "00030-A-B", "00040-A-C"};
    // Code unit order: "B" (U+0042) before "あ" (U+3042) before "札" (U+672D).
    QTest::newRow("by code unit") << QList<QStringList>{{"00010-A-札幌", "00010-A-あ"},
                                                        {"00010-A-B"}}
                                  << QStringList{"00010-A-B", "00010-A-あ", "00010-A-札幌"};
}

void TestRouteListModel::keepsTextOrderAcrossBatches()
{
    QFETCH(QList<QStringList>, batches);
    QFETCH(QStringList, expected);
    RouteListModel list;
    for (const QStringList& batch : batches)
        list.addRoutes(batch);
    QCOMPARE(texts(list), expected);
    QCOMPARE(list.rowCount(), int(expected.size()));
    QCOMPARE(list.data(list.index(0)).toString(), expected.first());
}

void TestRouteListModel::selectionFollowsItsRoute()
{
    RouteListModel list;
    list.addRoutes({"00020-A-B", "00040-A-C"});
    const QPersistentModelIndex selected = list.index(1);
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    list.addRoutes({"00030-A-D", "00010-A-E", "00050-A-F"});
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(selected.row(), 3);
    QCOMPARE(selected.data().toString(), QStringLiteral("00040-A-C"));
}

void TestRouteListModel::clearEmptiesAndRowsOutsideThrow()
{
    RouteListModel list;
    list.addRoutes({"00020-A-B"});
    QVERIFY_THROWS_EXCEPTION(MoraveltError, list.text(1));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, list.text(-1));
    list.clear();
    QCOMPARE(list.count(), 0);
    list.addRoutes({"00030-A-C"});
    QCOMPARE(texts(list), QStringList{"00030-A-C"});
}

void TestRouteListModel::searchRoutesSortLikeTheirTexts()
{
    // Names that begin other names, and names with characters before "-" (" " and "!"),
    // are where comparing town by town could part from comparing the texts; long roads
    // give six-digit totals.
    const QStringList names{"津", "津山", "A", "A B", "A!", "AB", "B", "京都", "京"};
    int compared = 0;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        QRandomGenerator random(seed);
        TestMap map;
        for (const QString& from : names) {
            for (const QString& to : names) {
                if (from != to && random.bounded(100) < 55)
                    oneWay(map, from, to,
                           random.bounded(3) == 0 ? 30000 + random.bounded(40000)
                                                  : 1 + random.bounded(3));
            }
        }
        // Towns off the routes make the ranks wider, so that fewer first towns fit into
        // the signature that decides most ties and long routes go past it.
        for (int i = 0; i < (seed % 2 == 0 ? 2100 : 0); ++i)
            oneWay(map, QStringLiteral("離%1").arg(i), QStringLiteral("離"), 1);
        LoadedMap loaded(map);
        const QString departure = names[random.bounded(int(names.size()))];
        const QString destination = names[random.bounded(int(names.size()))];
        RouteSearch search(loaded.graph, departure, destination, 3);
        RouteListModel compact;
        RouteListModel plain;
        RouteListModel merged;
        QStringList all;
        for (SearchStep& step : allSteps(search)) {
            const QStringList texts = step.routes.texts();
            all << texts;
            plain.addRoutes(texts);
            if (seed % 2 == 0)
                step.routes.sortTextOrder();
            auto routes = std::make_shared<const RouteBatch>(std::move(step.routes));
            compact.addRoutes(routes);
            // The same, merged as the search's worker merges them.
            RouteListModel::Merge merge = merged.startMerge();
            merge.prepare(routes);
            merged.addRoutes(std::move(merge));
        }
        std::sort(all.begin(), all.end(), byCodeUnit);
        QCOMPARE(texts(plain), all);
        QCOMPARE(texts(compact), all);
        QCOMPARE(texts(merged), all);
        // Texts merged into a list of search routes take their place among them.
        compact.addRoutes(QStringList{"00002-A!-津", "100000-A", "00002-A B"});
        QStringList mixed = texts(compact);
        QVERIFY(std::is_sorted(mixed.begin(), mixed.end(), byCodeUnit));
        QCOMPARE(mixed.size(), all.size() + 3);
        compared += int(all.size());
    }
    QVERIFY(compared > 2000);
}

void TestRouteListModel::mergeFromAnotherThreadKeepsTheList()
{
    LoadedMap loaded(completeMap({"A", "B", "C", "D", "E"}));
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("E"), 4);
    std::vector<std::shared_ptr<const RouteBatch>> steps;
    for (SearchStep& step : allSteps(search))
        steps.push_back(std::make_shared<const RouteBatch>(std::move(step.routes)));
    RouteListModel list;
    list.addRoutes(steps[1]);
    const QPersistentModelIndex selected = list.index(2);
    const QString chosen = selected.data().toString();
    // Prepared while the list stays as it is: the selection follows its route.
    RouteListModel::Merge merge = list.startMerge();
    merge.prepare(steps[0]);
    list.addRoutes(std::move(merge));
    QCOMPARE(selected.data().toString(), chosen);
    QCOMPARE(list.text(0), QStringLiteral("00001-A-E"));
    // Prepared before the list changed: merged again on this thread.
    RouteListModel::Merge stale = list.startMerge();
    stale.prepare(steps[2]);
    list.addRoutes(QStringList{"00000-A-X"});
    list.addRoutes(std::move(stale));
    QStringList expected{"00000-A-X"};
    for (const auto& step : steps)
        expected << step->texts();
    std::sort(expected.begin(), expected.end(), byCodeUnit);
    expected = expected.mid(0, 1 + 1 + 3 + 6);
    QCOMPARE(texts(list), expected);
}

void TestRouteListModel::stoppedSortAndMergeAddNothing()
{
    LoadedMap loaded(completeMap({"A", "B", "C", "D", "E"}));
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("E"), 4);
    std::vector<SearchStep> steps = allSteps(search);
    const std::atomic<bool> stop{true};
    // A stopped sort leaves the batch without a text order; the list still sorts it itself.
    QVERIFY(!steps[2].routes.sortTextOrder(&stop));
    QVERIFY(steps[2].routes.textOrder().empty());
    QVERIFY(steps[1].routes.sortTextOrder());
    RouteListModel list;
    list.addRoutes(std::make_shared<const RouteBatch>(std::move(steps[0].routes)));
    RouteListModel::Merge merge = list.startMerge();
    QVERIFY(!merge.prepare(std::make_shared<const RouteBatch>(std::move(steps[1].routes)), &stop));
    list.addRoutes(std::move(merge));
    QCOMPARE(texts(list), QStringList{"00001-A-E"});
    list.addRoutes(std::make_shared<const RouteBatch>(std::move(steps[2].routes)));
    const QStringList all = texts(list);
    QCOMPARE(all.size(), 1 + 6);
    QVERIFY(std::is_sorted(all.begin(), all.end(), byCodeUnit));
}

void TestRouteListModel::fullListKeepsItsFirstRoutes()
{
    // Steps of 1, 3, 6 and 6 routes of 1, 2, 3 and 4 km, merged longest first into a list
    // that keeps 6, then 4: shorter routes push the longer ones out.
    LoadedMap loaded(completeMap({"A", "B", "C", "D", "E"}));
    RouteSearch search(loaded.graph, QStringLiteral("A"), QStringLiteral("E"), 4);
    std::vector<std::shared_ptr<const RouteBatch>> steps;
    for (SearchStep& step : allSteps(search)) {
        step.routes.sortTextOrder();
        steps.push_back(std::make_shared<const RouteBatch>(std::move(step.routes)));
    }
    QCOMPARE(int(steps.size()), 4);
    RouteListModel list;
    const auto merge = [&list](const std::shared_ptr<const RouteBatch>& routes, int keep) {
        RouteListModel::Merge m = list.startMerge();
        m.prepare(routes, nullptr, keep);
        list.addRoutes(std::move(m));
    };
    merge(steps[3], 6);
    const QPersistentModelIndex pushedOut = list.index(0);
    merge(steps[2], 6);
    QCOMPARE(texts(list), steps[2]->texts().mid(0, 6));
    QVERIFY(!pushedOut.isValid());
    const QPersistentModelIndex stays = list.index(0);
    const QString chosen = stays.data().toString();
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    merge(steps[1], 4);
    QCOMPARE(list.count(), 4);
    QCOMPARE(stays.row(), 3);
    QCOMPARE(stays.data().toString(), chosen);
    const QStringList shown = texts(list);
    QVERIFY(std::is_sorted(shown.begin(), shown.end(), byCodeUnit));
    QCOMPARE(removed.size(), 1);
    // Prepared before the list changed: merged here, and still cut to what the list keeps.
    RouteListModel::Merge stale = list.startMerge();
    stale.prepare(steps[0], nullptr, 4);
    list.addRoutes(QStringList{"00009-A-X"});
    list.addRoutes(std::move(stale));
    QStringList expected = steps[0]->texts() + steps[1]->texts();
    std::sort(expected.begin(), expected.end(), byCodeUnit);
    QCOMPARE(texts(list), expected);
    QCOMPARE(removed.size(), 2);
}

QTEST_GUILESS_MAIN(TestRouteListModel)
#include "tst_routelistmodel.moc"
