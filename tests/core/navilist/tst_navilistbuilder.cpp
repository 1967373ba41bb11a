// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "mapdb/queryslots.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navilistbuilder.h"
#include "searchtestmaps.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

using Rows = QList<QStringList>;
Q_DECLARE_METATYPE(moravelt::test::TestMap)

namespace {

Rows gridRows(const FlexGridModel& grid, int from = 1)
{
    Rows rows;
    for (int r = from; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.textMatrix(r, c);
        rows << cells;
    }
    return rows;
}

QVariantList quiz(const QString& town, const QVariant& a1, const QVariant& a2, const QVariant& a3)
{
    return {town, QStringLiteral("問") + town, a1, a2, a3, 10};
}

// A to B to C, one hidden town on A to B (and one on the way back, which A to B never shows).
TestMap threeTowns()
{
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 12);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 20.5);
    map.hidden.push_back({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("森"), 4});
    map.hidden.push_back({QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("森"), 8});
    map.events.push_back({QStringLiteral("森"), QStringLiteral("くまに出会った")});
    map.quizzes.push_back(quiz(QStringLiteral("A"), "不正：北", "正解：答A", "不正：南"));
    map.quizzes.push_back(quiz(QStringLiteral("B"), "正解：答B", "不正：東", "不正：西"));
    map.quizzes.push_back(quiz(QStringLiteral("C"), "不正：上", "不正：下", "正解：答C"));
    return map;
}

const QString kArrow = QStringLiteral("→");

} // namespace

class TestNaviListBuilder : public QObject
{
    Q_OBJECT
private slots:
    void buildsTheList_data();
    void buildsTheList();
    void secondBuildReplacesTheFirst();
    void townlessRouteIsRefused_data();
    void townlessRouteIsRefused();
};

void TestNaviListBuilder::buildsTheList_data()
{
    QTest::addColumn<TestMap>("map");
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<Rows>("expected");

    const Rows threeTownRows{{"A", kArrow, "B", "12 km ", "答A"},
                             {"", "森", "くまに出会った", "(4 km)", ""},
                             {"B", kArrow, "C", "20.5 km ", "答B"},
                             {"C", "", "", "", "答C"}};
    QTest::newRow("three towns") << threeTowns() << "00033-A-B-C" << true << threeTownRows;
    QTest::newRow("total ignored") << threeTowns() << "99999-A-B-C" << true << threeTownRows;
    // Without answers the quiz table is dropped as well: reading it would fail the build.
    Rows withoutAnswers = threeTownRows;
    for (QStringList& row : withoutAnswers)
        row[4].clear();
    QTest::newRow("answers off") << threeTowns() << "00033-A-B-C" << false << withoutAnswers;
    QTest::newRow("one town") << threeTowns() << "00000-C" << true
                              << Rows{{"C", "", "", "", "答C"}};

    TestMap ordered;
    ordered.road(QStringLiteral("A"), QStringLiteral("B"), 30);
    ordered.road(QStringLiteral("A"), QStringLiteral("C"), 9);
    for (const auto& [to, name, km] :
         {std::tuple{"B", "丙", 25}, {"B", "甲", 5}, {"C", "外", 3}, {"B", "乙", 15}}) {
        ordered.hidden.push_back({"A", QString::fromUtf8(to), QString::fromUtf8(name), km});
        ordered.events.push_back({QString::fromUtf8(name), QString::fromUtf8(name) + "の祭り"});
    }
    QTest::newRow("hidden towns by distance") << ordered << "00030-A-B" << false
                                              << Rows{{"A", kArrow, "B", "30 km ", ""},
                                                      {"", "甲", "甲の祭り", "(5 km)", ""},
                                                      {"", "乙", "乙の祭り", "(15 km)", ""},
                                                      {"", "丙", "丙の祭り", "(25 km)", ""},
                                                      {"B", "", "", "", ""}};

    TestMap twoLegs;
    twoLegs.road(QStringLiteral("A"), QStringLiteral("B"), 10);
    twoLegs.road(QStringLiteral("B"), QStringLiteral("C"), 10);
    twoLegs.hidden.push_back({"A", "B", "峠", 3});
    twoLegs.hidden.push_back({"B", "C", "峠", 7.5});
    twoLegs.events.push_back({"峠", "霧が深い"});
    QTest::newRow("hidden town on two legs") << twoLegs << "00020-A-B-C" << false
                                             << Rows{{"A", kArrow, "B", "10 km ", ""},
                                                     {"", "峠", "霧が深い", "(3 km)", ""},
                                                     {"B", kArrow, "C", "10 km ", ""},
                                                     {"", "峠", "霧が深い", "(7.5 km)", ""},
                                                     {"C", "", "", "", ""}};

    TestMap marks;
    marks.road(QStringLiteral("A"), QStringLiteral("B"), 1);
    marks.road(QStringLiteral("B"), QStringLiteral("C"), 1);
    marks.quizzes.push_back(quiz("A", "正解：一", "不正：二", "正解：三"));
    marks.quizzes.push_back(quiz("B", "正解：一", "正解：", "不正：三"));
    marks.quizzes.push_back(quiz("C", QVariant(), "不正：二", "正"));
    QTest::newRow("answer marks") << marks << "00002-A-B-C" << true
                                  << Rows{{"A", kArrow, "B", "1 km ", "三"},
                                          {"B", kArrow, "C", "1 km ", ""},
                                          {"C", "", "", "", ""}};

    // No road A to X, a null distance, a hidden town without event or distance, no road
    // leaving Y and no quiz for X or Y: the cells stay empty and the build goes on.
    TestMap broken;
    broken.roads.push_back({"X", "Y", QVariant()});
    broken.hidden.push_back({"A", "X", "幽", 2});
    broken.hidden.push_back({"X", "Y", "霧", QVariant()});
    broken.quizzes.push_back(quiz("A", "正解：答A", "不正：x", "不正：y"));
    QTest::newRow("broken data") << broken << "00000-A-X-Y" << true
                                 << Rows{{"", kArrow, "", "", "答A"},
                                         {"X", kArrow, "Y", " km ", ""},
                                         {"", "霧", "", "( km)", ""},
                                         {"Y", "", "", "", ""}};
}

void TestNaviListBuilder::buildsTheList()
{
    QFETCH(TestMap, map);
    QFETCH(QString, route);
    QFETCH(bool, answers);
    QFETCH(Rows, expected);
    TestMapDb db(map);
    if (!answers)
        QVERIFY(alterMap(db, QStringLiteral("DELETE FROM tbl_Quiz")));
    MapDatabase cn(db.connectionString());
    QuerySlots rs(cn);
    FlexGridModel grid;
    NaviListBuilder(rs).NaveSet(route, answers, grid);
    QCOMPARE(gridRows(grid), expected);
    QCOMPARE(grid.rows(), int(expected.size()) + 1);
    QCOMPARE(gridRows(grid, 0).first(), QStringList(5, QString()));
    QVERIFY(rs.Rs1() == nullptr);
}

void TestNaviListBuilder::secondBuildReplacesTheFirst()
{
    TestMapDb db(threeTowns());
    MapDatabase cn(db.connectionString());
    QuerySlots rs(cn);
    FlexGridModel grid;
    grid.setTextMatrix(0, 2, QStringLiteral("fixed"));
    NaviListBuilder builder(rs);
    builder.NaveSet(QStringLiteral("00033-A-B-C"), true, grid);
    QCOMPARE(grid.rows(), 5);
    builder.NaveSet(QStringLiteral("00020-C-B"), false, grid);
    QCOMPARE(
        gridRows(grid, 0),
        (Rows{{"", "", "", "", ""}, {"C", kArrow, "B", "20.5 km ", ""}, {"B", "", "", "", ""}}));
}

void TestNaviListBuilder::townlessRouteIsRefused_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("empty") << QString();
    QTest::newRow("no dash") << QStringLiteral("00012");
}

void TestNaviListBuilder::townlessRouteIsRefused()
{
    QFETCH(QString, route);
    TestMapDb db(threeTowns());
    MapDatabase cn(db.connectionString());
    QuerySlots rs(cn);
    FlexGridModel grid;
    grid.setTextMatrix(1, 0, QStringLiteral("kept"));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, NaviListBuilder(rs).NaveSet(route, true, grid));
    QCOMPARE(grid.textMatrix(1, 0), QStringLiteral("kept"));
}

QTEST_GUILESS_MAIN(TestNaviListBuilder)
#include "tst_navilistbuilder.moc"
