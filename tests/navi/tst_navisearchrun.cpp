#include "app/moravelterror.h"
#include "navi/navisearchrun.h"
#include "navi/routelistmodel.h"
#include "routelisttexts.h"
#include "searchtestmaps.h"
#include "testprompt.h"

#include <QSignalSpy>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// A direct road A to D and a cheaper way round through B and C.
TestMap detourMap()
{
    TestMap map;
    oneWay(map, QStringLiteral("A"), QStringLiteral("D"), 100);
    oneWay(map, QStringLiteral("A"), QStringLiteral("B"), 1);
    oneWay(map, QStringLiteral("B"), QStringLiteral("C"), 1);
    oneWay(map, QStringLiteral("C"), QStringLiteral("D"), 1);
    return map;
}

// One search with its route list, prompt and recorded signals.
struct Run
{
    explicit Run(const TestMap& map) : loaded(map), search(loaded.cn, list, prompt) {}

    LoadedMap loaded;
    RouteListModel list;
    TestPrompt prompt;
    NaviSearchRun search;
    QSignalSpy started{&search, &NaviSearchRun::started};
    QSignalSpy captions{&search, &NaviSearchRun::captionChanged};
    QSignalSpy finished{&search, &NaviSearchRun::finished};

    QStringList captionTexts() const
    {
        QStringList all;
        for (const QList<QVariant>& signal : captions)
            all << signal.first().toString();
        return all;
    }
};

} // namespace

class TestNaviSearchRun : public QObject
{
    Q_OBJECT
private slots:
    void asksAfterAStepThatFoundARoute_data();
    void asksAfterAStepThatFoundARoute();
    void noRouteAsksNothing_data();
    void noRouteAsksNothing();
    void limitStopsWithAMessageAndKeepsTheRoutes();
    void secondStartIsRefusedWhileRunning();
    void cancelStopsWithoutASound();
    void failedRoadQueryStartsNothing();
};

void TestNaviSearchRun::asksAfterAStepThatFoundARoute_data()
{
    QTest::addColumn<bool>("searchOn");
    QTest::addColumn<QStringList>("routes");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("yes") << true << QStringList{"00003-A-B-C-D", "00100-A-D"}
                         << QStringList{"+-C", NaviSearchRun::kNormalCaption};
    QTest::newRow("no ends at once")
        << false << QStringList{"00100-A-D"} << QStringList{NaviSearchRun::kNormalCaption};
}

void TestNaviSearchRun::asksAfterAStepThatFoundARoute()
{
    QFETCH(bool, searchOn);
    QFETCH(QStringList, routes);
    QFETCH(QStringList, captions);
    Run run(detourMap());
    run.list.addRoutes({"99999-left-over"});
    run.prompt.answers = {searchOn};
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.started.size(), 1);
    QCOMPARE(run.prompt.questions, QStringList{NaviSearchRun::kQuestion});
    QCOMPARE(NaviSearchRun::kQuestion,
             QStringLiteral("目的地へのルートを発見しました\r\nまだ検索しますか？"));
    QCOMPARE(texts(run.list), routes);
    QCOMPARE(run.captionTexts(), captions);
    QVERIFY(run.prompt.messages.isEmpty());
    QVERIFY(!run.search.isRunning());
}

void TestNaviSearchRun::noRouteAsksNothing_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::newRow("empty departure") << QString() << QStringLiteral("D");
    QTest::newRow("unreachable") << QStringLiteral("B") << QStringLiteral("A");
}

void TestNaviSearchRun::noRouteAsksNothing()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    Run run(detourMap());
    QVERIFY(run.search.start(departure, destination, 4));
    QVERIFY(run.finished.wait(10000));
    QVERIFY(run.prompt.questions.isEmpty());
    QCOMPARE(run.list.count(), 0);
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
}

void TestNaviSearchRun::limitStopsWithAMessageAndKeepsTheRoutes()
{
    Run run(completeMap({"A", "B", "C", "D", "E", "F"}));
    SearchLimits limits;
    limits.maxPartialRoutes = 20;
    run.search.setLimits(limits);
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("F"), 4));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.prompt.messages.size(), 1);
    QVERIFY(run.prompt.messages.first().contains(QStringLiteral("ナビ精度")));
    // Step 0 finds the direct road and step 1 the four routes through one town; step 2
    // finds A-B-C-F and stops on its 21st partial route, without a question.
    QCOMPARE(run.prompt.questions.size(), 2);
    QCOMPARE(run.list.count(), 6);
    QCOMPARE(run.list.text(5), QStringLiteral("00003-A-B-C-F"));
    QCOMPARE(run.list.text(0), QStringLiteral("00001-A-F"));
    QCOMPARE(run.captionTexts().last(), NaviSearchRun::kNormalCaption);
    QCOMPARE(run.finished.size(), 1);
    QVERIFY(!run.search.isRunning());
}

void TestNaviSearchRun::secondStartIsRefusedWhileRunning()
{
    Run run(detourMap());
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(!run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.started.size(), 1);
    QCOMPARE(texts(run.list), (QStringList{"00003-A-B-C-D", "00100-A-D"}));
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.list.count(), 2);
}

void TestNaviSearchRun::cancelStopsWithoutASound()
{
    Run run(completeMap({"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("無"), 4));
    run.search.cancel();
    QVERIFY(!run.search.isRunning());
    QTest::qWait(100);
    QCOMPARE(run.finished.size(), 0);
    QCOMPARE(run.captions.size(), 0);
    QVERIFY(run.search.start(QStringLiteral("A"), QStringLiteral("B"), 0));
    QVERIFY(run.finished.wait(10000));
    QCOMPARE(run.list.text(0), QStringLiteral("00001-A-B"));
}

void TestNaviSearchRun::failedRoadQueryStartsNothing()
{
    const TestMapDb db(detourMap());
    failWhenRead(db, QStringLiteral("tbl_距離"), QStringLiteral("A"));
    const MapDatabase cn(db.connectionString());
    RouteListModel list;
    TestPrompt prompt;
    NaviSearchRun search(cn, list, prompt);
    QSignalSpy started(&search, &NaviSearchRun::started);
    QVERIFY_THROWS_EXCEPTION(MoraveltError,
                             search.start(QStringLiteral("A"), QStringLiteral("D"), 0));
    QVERIFY(!search.isRunning());
    QCOMPARE(started.size(), 0);
}

QTEST_GUILESS_MAIN(TestNaviSearchRun)
#include "tst_navisearchrun.moc"
