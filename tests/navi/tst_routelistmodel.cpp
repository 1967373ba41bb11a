#include "app/moravelterror.h"
#include "navi/routelistmodel.h"
#include "routelisttexts.h"

#include <QSignalSpy>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

class TestRouteListModel : public QObject
{
    Q_OBJECT
private slots:
    void keepsTextOrderAcrossBatches_data();
    void keepsTextOrderAcrossBatches();
    void selectionFollowsItsRoute();
    void clearEmptiesAndRowsOutsideThrow();
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

QTEST_GUILESS_MAIN(TestRouteListModel)
#include "tst_routelistmodel.moc"
