// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "mapdb/recordsetmodel.h"
#include "testmapdb.h"

#include <QSqlDatabase>
#include <QSqlQuery>
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
    void dataSourceReadsQuotedValues_data();
    void dataSourceReadsQuotedValues();
    void foldersWithSeparatorsOpen_data();
    void foldersWithSeparatorsOpen();
    void openingLeavesNothingBesideTheMap();
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
    QTest::addColumn<bool>("quoted");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/mapdata.mdb") << false;
    QTest::newRow("folder") << QStringLiteral("/opt/m/") << QStringLiteral("/opt/m/mapdata.mdb")
                            << false;
    QTest::newRow("semicolon") << QStringLiteral("/opt/a;b/")
                               << QStringLiteral("/opt/a;b/mapdata.mdb") << true;
    QTest::newRow("quotes") << QStringLiteral("/o \"x\" 'y'/")
                            << QStringLiteral("/o \"x\" 'y'/mapdata.mdb") << true;
    QTest::newRow("space at the start")
        << QStringLiteral(" m/") << QStringLiteral(" m/mapdata.mdb") << true;
}

void TestMapDb_::connectionStringNamesTheFileOnce()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(bool, quoted);
    const QString cs = MapDatabase::connectionString(folder);
    // An ordinary folder gives the game's own text; only a path that needs it is quoted.
    const QString plain = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
                          QStringLiteral(";Jet OLEDB:Database Password=358035803580kodar");
    QCOMPARE(cs == plain, !quoted);
    QCOMPARE(cs.contains(QStringLiteral("Data Source=\"")), quoted);
    QCOMPARE(MapDatabase::dataSource(cs), file);
}

void TestMapDb_::dataSourceReadsQuotedValues_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain, last") << QStringLiteral("Provider=P;Data Source=/m/a.mdb")
                                 << QStringLiteral("/m/a.mdb");
    QTest::newRow("key in any case, spaces")
        << QStringLiteral("provider=P; data source = /m/a.mdb ;x=y") << QStringLiteral("/m/a.mdb");
    QTest::newRow("double quotes") << QStringLiteral("Data Source=\"/a;b/\"\"c\"\".mdb\";x=y")
                                   << QStringLiteral("/a;b/\"c\".mdb");
    QTest::newRow("single quotes") << QStringLiteral("x='1;2';Data Source='/a;b/it''s.mdb'")
                                   << QStringLiteral("/a;b/it's.mdb");
    QTest::newRow("a value holding the key")
        << QStringLiteral("x=\"Data Source=/no\";Data Source=/yes") << QStringLiteral("/yes");
    QTest::newRow("none") << QStringLiteral("Provider=P;x=y") << QString();
}

void TestMapDb_::dataSourceReadsQuotedValues()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, file);
    QCOMPARE(MapDatabase::dataSource(connectionString), file);
}

void TestMapDb_::foldersWithSeparatorsOpen_data()
{
    QTest::addColumn<QString>("folder");
    for (const char* name : {"a;b", "sharp#and?query", "100%", "it's \"quoted\"", "地図 ;"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void TestMapDb_::foldersWithSeparatorsOpen()
{
    QFETCH(QString, folder);
    QTemporaryDir parent;
    const QString path = parent.filePath(folder);
    QVERIFY(QDir().mkdir(path));
    QVERIFY(QFile::copy(m_file->fileName(), path + QStringLiteral("/mapdata.mdb")));
    const MapDatabase cn(MapDatabase::connectionString(path + QLatin1Char('/')));
    QCOMPARE(cn.fileName(), path + QStringLiteral("/mapdata.mdb"));
    QCOMPARE(cn.open(QueryTexts::allRoads())->rowCount(), 4);
}

void TestMapDb_::openingLeavesNothingBesideTheMap()
{
    // A map written in WAL mode: a plain read-only open would add "-wal" and "-shm" files.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mapdata.mdb"));
    QVERIFY(QFile::copy(m_file->fileName(), file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("wal"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("wal"));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(before, QStringList{QStringLiteral("mapdata.mdb")});
    {
        const MapDatabase cn(MapDatabase::connectionString(dir.path() + QLatin1Char('/')));
        QCOMPARE(cn.open(QueryTexts::distances(QStringLiteral("大津")))->rowCount(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
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
