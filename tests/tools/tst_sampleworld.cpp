// The bundled world as the build wrote it beside the game: the lookups a player makes on it.
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "mapview/placelookup.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtTest>

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
    void pictureIsTheSizeTheCoordinatesAssume();

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
}

void TestSampleWorld::knownTowns_data()
{
    QTest::addColumn<QString>("town");
    QTest::addColumn<QString>("neighbour");
    QTest::newRow("札幌") << "札幌"
                          << "小樽";
    QTest::newRow("東京") << "東京"
                          << "横浜";
    QTest::newRow("京都") << "京都"
                          << "大阪";
    QTest::newRow("那覇") << "那覇"
                          << "名護";
}

void TestSampleWorld::knownTowns()
{
    QFETCH(QString, town);
    QFETCH(QString, neighbour);
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

QTEST_GUILESS_MAIN(TestSampleWorld)
#include "tst_sampleworld.moc"
