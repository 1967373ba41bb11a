#include "app/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "mapdb/recordsetmodel.h"
#include "testmapdb.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

class TestMapDb_ : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void connectionStringNamesTheFileOnce_data();
    void connectionStringNamesTheFileOnce();
    void twoResultsAtOnce();
    void gridKeepsItsRowsWhenTheSlotIsRefilled();
    void apostropheFindsNothing();
    void hitTestSquareIncludesItsEdges_data();
    void hitTestSquareIncludesItsEdges();
    void readingPastTheEndFails();
    void databaseIsReadOnly();

private:
    std::unique_ptr<TestMapDb> m_file;
    std::unique_ptr<MapDatabase> m_cn;
};

void TestMapDb_::initTestCase()
{
    TestMap map;
    map.towns = {{QStringLiteral("大津"), 1000.0, 1000.0},
                 {QStringLiteral("津"), 1090.0, 2000.0},
                 {QStringLiteral("京都"), 1144.5, 910.0}};
    map.road(QStringLiteral("大津"), QStringLiteral("京都"), 11);
    map.road(QStringLiteral("大津"), QStringLiteral("津"), 80);
    map.hidden = {{QStringLiteral("大津"), QStringLiteral("津"), QStringLiteral("信楽"), 30.0}};
    map.events = {{QStringLiteral("信楽"), QStringLiteral("狸の焼き物がずらりと並ぶ")}};
    m_file = std::make_unique<TestMapDb>(map);
    m_cn = std::make_unique<MapDatabase>(m_file->connectionString());
}

void TestMapDb_::connectionStringNamesTheFileOnce_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/mapdata.mdb");
    QTest::newRow("folder") << QStringLiteral("/opt/m/") << QStringLiteral("/opt/m/mapdata.mdb");
}

void TestMapDb_::connectionStringNamesTheFileOnce()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    const QString cs = MapDatabase::connectionString(folder);
    QVERIFY(cs.startsWith(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")));
    QVERIFY(
        cs.endsWith(QStringLiteral("mapdata.mdb;Jet OLEDB:Database Password=358035803580kodar")));
    QCOMPARE(MapDatabase::dataSource(cs), file);
}

void TestMapDb_::twoResultsAtOnce()
{
    QuerySlots slots_(*m_cn);
    slots_.SetSQL(QueryTexts::hiddenOnRoad(QStringLiteral("大津")));
    Recordset& walk = *slots_.Rs();
    QVERIFY(!walk.eof());
    slots_.SetSQL1(QueryTexts::hiddenEvent(walk.value(QStringLiteral("隠れ")).toString()));
    QCOMPARE(slots_.Rs1()->value(QStringLiteral("イベント")).toString(),
             QStringLiteral("狸の焼き物がずらりと並ぶ"));
    QCOMPARE(walk.value(QStringLiteral("目的地")).toString(), QStringLiteral("津"));
    walk.moveNext();
    QVERIFY(walk.eof());
}

void TestMapDb_::gridKeepsItsRowsWhenTheSlotIsRefilled()
{
    QuerySlots slots_(*m_cn);
    RecordsetModel grid;
    slots_.SetSQL(QueryTexts::distances(QStringLiteral("大津")));
    grid.setRecordset(slots_.Rs());
    slots_.SetSQL(QueryTexts::quiz(QStringLiteral("大津")));
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.columnCount(), 3);
    QCOMPARE(grid.headerData(0, Qt::Horizontal).toString(), QStringLiteral("出発地"));
    QCOMPARE(grid.cellText(0, 1), QStringLiteral("京都"));
    QCOMPARE(grid.data(grid.index(1, 2)).toString(), QStringLiteral("80"));
    QCOMPARE(grid.currentRow(), 0);
    grid.setRecordset(slots_.Rs());
    QCOMPARE(grid.currentRow(), -1);
    QVERIFY_THROWS_EXCEPTION(MoraveltError, grid.cellText(0, 0));
}

void TestMapDb_::apostropheFindsNothing()
{
    for (const SqlText& sql : {QueryTexts::distances(QStringLiteral("大津' OR '1'='1")),
                               QueryTexts::quiz(QStringLiteral("O'Brien")),
                               QueryTexts::oneLeg(QStringLiteral("'"), QStringLiteral("')--"))}) {
        QCOMPARE(m_cn->open(sql)->rowCount(), 0);
    }
}

void TestMapDb_::hitTestSquareIncludesItsEdges_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("exactly 90 left and up") << 1090.0f << 1090.0f << QStringList{"大津"};
    QTest::newRow("just beyond") << 1090.5f << 1000.0f << QStringList{"京都"};
    QTest::newRow("fractional bound") << 1054.5f << 1000.0f << QStringList{"大津", "京都"};
    QTest::newRow("empty map") << 5000.0f << 5000.0f << QStringList{};
}

void TestMapDb_::hitTestSquareIncludesItsEdges()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QStringList, found);
    const RecordsetPtr result = m_cn->open(QueryTexts::hitTest(x, y));
    QStringList names;
    for (; !result->eof(); result->moveNext())
        names << result->value(QStringLiteral("地名")).toString();
    QCOMPARE(names, found);
}

void TestMapDb_::readingPastTheEndFails()
{
    const RecordsetPtr empty = m_cn->open(QueryTexts::quiz(QStringLiteral("どこにもない町")));
    QVERIFY(empty->eof());
    QVERIFY_THROWS_EXCEPTION(MoraveltError, empty->value(QStringLiteral("Ans1")));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, empty->moveNext());
    const RecordsetPtr roads = m_cn->open(QueryTexts::distances(QStringLiteral("京都")));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, roads->value(QStringLiteral("存在しない列")));
}

void TestMapDb_::databaseIsReadOnly()
{
    QVERIFY_THROWS_EXCEPTION(MoraveltError,
                             m_cn->open({QStringLiteral("DELETE FROM tbl_距離"), {}}));
    QCOMPARE(m_cn->open(QueryTexts::allRoads())->rowCount(), 4);
}

QTEST_GUILESS_MAIN(TestMapDb_)
#include "tst_mapdb.moc"
