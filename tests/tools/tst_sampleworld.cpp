// SPDX-License-Identifier: MIT

// The bundled world as the build wrote it beside the game: the lookups a player makes on it.
#include "lookup/placelookup.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"
#include "navi/shortestroutes.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtTest>
#include <algorithm>

using namespace moravelt;

class TestSampleWorld : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyTownIsFoundAtItsOwnDot();
    void knownTowns_data();
    void knownTowns();
    void farthestEndsAreConnected();
    void shortestWay_data();
    void shortestWay();
    void ferriesShortenTheWay_data();
    void ferriesShortenTheWay();
    void pictureIsTheSizeTheCoordinatesAssume();
    void bestLevelListsTheShortestRoute_data();
    void bestLevelListsTheShortestRoute();

private:
    QString m_folder = QFileInfo(QStringLiteral(MORAVELT_SAMPLE_DB)).absolutePath() + '/';
    std::unique_ptr<MapDatabase> m_cn;
};

void TestSampleWorld::initTestCase()
{
    m_cn = std::make_unique<MapDatabase>(MapDatabase::connectionString(m_folder));
}

void TestSampleWorld::everyTownIsFoundAtItsOwnDot()
{
    QuerySlots querySlots(*m_cn);
    PlaceLookup lookup(querySlots);
    const RecordsetPtr towns = m_cn->open({QStringLiteral("SELECT 地名, x, y FROM tbl_座標"), {}});
    QVERIFY(towns->rowCount() >= 150 + 60);
    int quizzes = 0;
    for (int i = 0; i < towns->rowCount(); ++i) {
        const QString name = towns->row(i)[0].toString();
        const auto place =
            lookup.MapNameGet(towns->row(i)[1].toFloat(), towns->row(i)[2].toFloat(), false);
        QVERIFY2(place && place->town == name, qPrintable(name));
        QVERIFY2(place->text.has_value(), qPrintable(name + " shows neither quiz nor event"));
        QVERIFY2(place->roads->rowCount() > 0, qPrintable(name + " lies on no road"));
        quizzes += place->quizShown ? 1 : 0;
    }
    QVERIFY(quizzes >= 150);
    // Every town, hidden or not, can be found by its reading.
    const RecordsetPtr unread = m_cn->open(
        {QStringLiteral(
             "SELECT count(*) FROM tbl_座標 WHERE 地名 NOT IN (SELECT 地名 FROM tbl_読み)"),
         {}});
    QCOMPARE(unread->value(0).toInt(), 0);
}

void TestSampleWorld::knownTowns_data()
{
    QTest::addColumn<QString>("town");
    QTest::addColumn<QString>("neighbour");
    QTest::addColumn<QString>("reading");
    QTest::newRow("札幌") << "札幌"
                          << "小樽"
                          << "さっぽろ";
    QTest::newRow("東京") << "東京"
                          << "横浜"
                          << "とうきょう";
    QTest::newRow("京都") << "京都"
                          << "大阪"
                          << "きょうと";
    QTest::newRow("那覇") << "那覇"
                          << "名護"
                          << "なは";
    QTest::newRow("足寄") << "足寄"
                          << "北見"
                          << "あしょろ";
}

void TestSampleWorld::knownTowns()
{
    QFETCH(QString, town);
    QFETCH(QString, neighbour);
    QFETCH(QString, reading);
    const RecordsetPtr read =
        m_cn->open({QStringLiteral("SELECT 読み FROM tbl_読み WHERE 地名 = ?"), {town}});
    QCOMPARE(read->rowCount(), 1);
    QCOMPARE(read->value(0).toString(), reading);
    QStringList neighbours;
    const RecordsetPtr roads = m_cn->open(QueryTexts::distances(town));
    for (; !roads->eof(); roads->moveNext()) {
        neighbours << roads->value(QStringLiteral("目的地")).toString();
        QVERIFY(roads->value(QStringLiteral("km")).toDouble() > 0);
    }
    QVERIFY2(neighbours.contains(neighbour), qPrintable(neighbours.join(',')));
    const RecordsetPtr quiz = m_cn->open(QueryTexts::quiz(town));
    QCOMPARE(quiz->rowCount(), 1);
    int marked = 0;
    for (const char* answer : {"Ans1", "Ans2", "Ans3"})
        marked += quiz->value(QString::fromLatin1(answer)).toString().startsWith(u'正') ? 1 : 0;
    QCOMPARE(marked, 1);
}

void TestSampleWorld::farthestEndsAreConnected()
{
    // The two ends of the country, across the ferries.
    const RoadGraph graph = RoadGraph::load(*m_cn);
    RouteSearch search(graph, QStringLiteral("稚内"), QStringLiteral("石垣"), 0, SearchLimits{});
    bool found = false;
    for (int step = 0; step < 200 && !found; ++step) {
        const SearchStep result = search.step();
        found = !result.routes.isEmpty();
        if (result.stop != SearchStop::None || result.frontierEmpty)
            break;
    }
    QVERIFY(found);
}

// Real links that spare a detour: the shortest of the routes found in the first steps.
void TestSampleWorld::shortestWay_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("route");
    // By ferry across the Kii Channel, not round by the Akashi bridge.
    QTest::newRow("和歌山 → 徳島") << "和歌山"
                                   << "徳島"
                                   << "00070-和歌山-徳島";
    QTest::newRow("佐世保 → 唐津") << "佐世保"
                                   << "唐津"
                                   << "00053-佐世保-伊万里-唐津";
    QTest::newRow("北見 → 帯広") << "北見"
                                 << "帯広"
                                 << "00156-北見-足寄-帯広";
    // Over the Suzuka pass rather than round by Lake Biwa.
    QTest::newRow("名古屋 → 京都") << "名古屋"
                                   << "京都"
                                   << "00137-名古屋-四日市-大津-京都";
}

void TestSampleWorld::shortestWay()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QString, route);
    const RoadGraph graph = RoadGraph::load(*m_cn);
    RouteSearch search(graph, departure, destination, 1, SearchLimits{});
    QStringList routes;
    for (int step = 0; step < 7 && !search.isOver(); ++step)
        routes += search.step().routes.texts();
    QVERIFY(!routes.isEmpty());
    // The total leads every route string, zero-padded to one width.
    std::sort(routes.begin(), routes.end());
    QCOMPARE(routes.first(), route);
}

// The long-distance ferries: the shortest of all routes ("最短ルート") goes by sea.
void TestSampleWorld::ferriesShortenTheWay_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("route");
    // From 大洗 overnight, not by road to 青森 and across to 函館.
    QTest::newRow("東京 → 札幌") << "東京"
                                 << "札幌"
                                 << "00962-東京-つくば-水戸-苫小牧-千歳-札幌";
    QTest::newRow("大阪 → 別府") << "大阪"
                                 << "別府"
                                 << "00441-大阪-別府";
    QTest::newRow("京都 → 札幌") << "京都"
                                 << "札幌"
                                 << "01179-京都-小浜-敦賀-苫小牧-千歳-札幌";
    QTest::newRow("秋田 → 札幌") << "秋田"
                                 << "札幌"
                                 << "00505-秋田-苫小牧-千歳-札幌";
    QTest::newRow("神戸 → 宮崎") << "神戸"
                                 << "宮崎"
                                 << "00502-神戸-宮崎";
    // To 臼杵 and on by road, rather than to 別府.
    QTest::newRow("松山 → 大分") << "松山"
                                 << "大分"
                                 << "00167-松山-八幡浜-大分";
}

void TestSampleWorld::ferriesShortenTheWay()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QString, route);
    const RoadGraph graph = RoadGraph::load(*m_cn);
    const QStringList shortest = ShortestRoutes::find(graph, departure, destination, 2);
    QCOMPARE(shortest.size(), 2);
    QCOMPARE(shortest.first(), route);
    // The sea route is the only one of that length.
    QVERIFY2(shortest[1].left(5) > route.left(5), qPrintable(shortest.join(' ')));
}

void TestSampleWorld::pictureIsTheSizeTheCoordinatesAssume()
{
    QImageReader picture(m_folder + QStringLiteral("map.jpg"));
    QCOMPARE(picture.size(), QSize(5000, 4400));
    QVERIFY(QFileInfo(m_folder + QStringLiteral("map.jpg")).size() < 6 * 1024 * 1024);
    const RecordsetPtr extent =
        m_cn->open({QStringLiteral("SELECT min(x), min(y), max(x), max(y) FROM tbl_座標"), {}});
    QVERIFY(extent->value(0).toDouble() >= 0 && extent->value(1).toDouble() >= 0);
    QVERIFY(extent->value(2).toDouble() < 5000 * 15 && extent->value(3).toDouble() < 4400 * 15);
}

void TestSampleWorld::bestLevelListsTheShortestRoute_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("keep");
    // The far ends of the world, with lists small enough to fill long before the end.
    QTest::newRow("石垣 → 知床") << "石垣"
                                 << "知床" << 20;
    QTest::newRow("稚内 → 那覇") << "稚内"
                                 << "那覇" << 5;
    QTest::newRow("五島 → 根室") << "五島"
                                 << "根室" << 100;
}

void TestSampleWorld::bestLevelListsTheShortestRoute()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(int, keep);
    const RoadGraph graph = RoadGraph::load(*m_cn);
    SearchLimits limits;
    limits.maxRoutes = keep;
    RouteSearch search(graph, departure, destination, 4, limits);
    QStringList found;
    SearchStep step;
    while (!search.isOver()) {
        step = search.step();
        found << step.routes.texts();
    }
    QCOMPARE(step.stop, SearchStop::None);
    QVERIFY(search.routesFound() > keep);
    std::sort(found.begin(), found.end());
    QCOMPARE(found.first(), ShortestRoutes::find(graph, departure, destination, 1).first());
}

QTEST_GUILESS_MAIN(TestSampleWorld)
#include "tst_sampleworld.moc"
