// SPDX-License-Identifier: MIT

#include "mapdb/queryslots.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navicopytext.h"
#include "navilist/navilistbuilder.h"
#include "testmapdb.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

class TestNaviCopyText : public QObject
{
    Q_OBJECT
private slots:
    void copiesTheBuiltListByteForByte_data();
    void copiesTheBuiltListByteForByte();
    void copiesEveryRowButTheFixedOne();
    void viewsSeeRowsFromOne();
};

void TestNaviCopyText::copiesTheBuiltListByteForByte_data()
{
    QTest::addColumn<bool>("answers");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("answers") << true
                             << QByteArray(
                                    "\xe5\x8d\x83\xe8\x91\x89\t\xe2\x86\x92\t\xe6\x88\x90"
                                    "\xe7\x94\xb0\t12 km \t\xe8\x90\xbd\xe8\x8a\xb1\xe7\x94"
                                    "\x9f\t\r\n"
                                    "\t\xe5\xaf\xba\t\xe5\x8f\x82\xe9\x81\x93\t(4.5 km)\t\t\r\n"
                                    "\xe6\x88\x90\xe7\x94\xb0\t\xe2\x86\x92\t\xe9\xb9\xbf\xe5"
                                    "\xb3\xb6\t20 km \t\xe6\xa0\x97\t\r\n"
                                    "\xe9\xb9\xbf\xe5\xb3\xb6\t\t\t\t\xe9\xb9\xbf\t\r\n");
    QTest::newRow("no answers") << false
                                << QByteArray(
                                       "\xe5\x8d\x83\xe8\x91\x89\t\xe2\x86\x92\t\xe6\x88\x90"
                                       "\xe7\x94\xb0\t12 km \t\t\r\n"
                                       "\t\xe5\xaf\xba\t\xe5\x8f\x82\xe9\x81\x93\t(4.5 km)\t\t\r\n"
                                       "\xe6\x88\x90\xe7\x94\xb0\t\xe2\x86\x92\t\xe9\xb9\xbf\xe5"
                                       "\xb3\xb6\t20 km \t\t\r\n"
                                       "\xe9\xb9\xbf\xe5\xb3\xb6\t\t\t\t\t\r\n");
}

void TestNaviCopyText::copiesTheBuiltListByteForByte()
{
    QFETCH(bool, answers);
    QFETCH(QByteArray, expected);
    // 千葉 → 成田 → 鹿島 with the hidden town 寺 (event 参道) on the first leg.
    TestMap map;
    map.road(QStringLiteral("千葉"), QStringLiteral("成田"), 12);
    map.road(QStringLiteral("成田"), QStringLiteral("鹿島"), 20);
    map.hidden.push_back(
        {QStringLiteral("千葉"), QStringLiteral("成田"), QStringLiteral("寺"), 4.5});
    map.events.push_back({QStringLiteral("寺"), QStringLiteral("参道")});
    map.quizzes.push_back({QStringLiteral("千葉"), "?", "正解：落花生", "不正：a", "不正：b", 10});
    map.quizzes.push_back({QStringLiteral("成田"), "?", "不正：a", "正解：栗", "不正：b", 10});
    map.quizzes.push_back({QStringLiteral("鹿島"), "?", "不正：a", "不正：b", "正解：鹿", 10});
    TestMapDb db(map);
    MapDatabase cn(db.connectionString());
    QuerySlots rs(cn);
    FlexGridModel grid;
    NaviListBuilder(rs).NaveSet(QStringLiteral("00032-千葉-成田-鹿島"), answers, grid);
    QCOMPARE(naviCopyText(grid).toUtf8(), expected);
}

void TestNaviCopyText::copiesEveryRowButTheFixedOne()
{
    FlexGridModel grid;
    grid.setTextMatrix(0, 0, QStringLiteral("fixed"));
    grid.setRows(40001);
    grid.setTextMatrix(1, 4, QStringLiteral("first"));
    grid.setTextMatrix(40000, 0, QStringLiteral("last"));
    const QString text = naviCopyText(grid);
    QVERIFY(text.startsWith(QStringLiteral("\t\t\t\tfirst\t\r\n\t\t\t\t\t\r\n")));
    QVERIFY(text.endsWith(QStringLiteral("\t\t\t\t\t\r\nlast\t\t\t\t\t\r\n")));
    QCOMPARE(text.count(QStringLiteral("\r\n")), 40000);
    QVERIFY(!text.contains(QStringLiteral("fixed")));
    grid.setRows(1);
    QCOMPARE(naviCopyText(grid), QString());
}

void TestNaviCopyText::viewsSeeRowsFromOne()
{
    FlexGridModel grid;
    grid.setRows(3);
    grid.setTextMatrix(0, 1, QStringLiteral("head"));
    grid.setTextMatrix(2, 3, QStringLiteral("cell"));
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.columnCount(), 5);
    QCOMPARE(grid.data(grid.index(1, 3)).toString(), QStringLiteral("cell"));
    QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("head"));
    grid.clear();
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.textMatrix(0, 1), QString());
    QCOMPARE(grid.textMatrix(2, 3), QString());
}

QTEST_GUILESS_MAIN(TestNaviCopyText)
#include "tst_navicopytext.moc"
