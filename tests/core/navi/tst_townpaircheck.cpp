// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "navi/hiddentownroads.h"
#include "navi/shortestroutes.h"
#include "navi/townpaircheck.h"
#include "searchtestmaps.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Three towns in a row; 山崎 lies on two roads (one of them in both directions), 大原 is a
// hidden town known by its event only, and 大津 has a place but no road.
TestMap kansai()
{
    TestMap map;
    for (const char* town : {"大阪", "京都", "奈良", "大津", "山崎", "大原"})
        map.towns.push_back({QString::fromUtf8(town), 0.0, 0.0});
    map.road(QStringLiteral("大阪"), QStringLiteral("京都"), 40);
    map.road(QStringLiteral("京都"), QStringLiteral("奈良"), 30);
    map.hidden = {{"京都", "大阪", "山崎", 20.0},
                  {"大阪", "京都", "山崎", 20.0},
                  {"京都", "奈良", "山崎", 5.0}};
    map.events = {{"山崎", "天王山"}, {"大原", "里で休んだ"}};
    return map;
}

} // namespace

using Reason = TownPairCheck::Reason;
Q_DECLARE_METATYPE(Reason)

class TestTownPairCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tellsWhyAPairGivesNoRoute_data();
    void tellsWhyAPairGivesNoRoute();

private:
    std::unique_ptr<LoadedMap> m_map;
};

void TestTownPairCheck::initTestCase()
{
    m_map = std::make_unique<LoadedMap>(kansai());
}

void TestTownPairCheck::tellsWhyAPairGivesNoRoute_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<QString>("message");
    const QString yamazaki = QStringLiteral("は隠れた街です。ルートは町と町を結びます（「山崎」は "
                                            "京都－大阪、京都－奈良 の途中にあります）");
    const auto row = [](const char* tag, const char* departure, const char* destination,
                        Reason reason, const QString& message) {
        QTest::newRow(tag) << QString::fromUtf8(departure) << QString::fromUtf8(destination)
                           << reason << message;
    };
    row("a route", "大阪", "奈良", Reason::None, {});
    row("no departure", "", "奈良", Reason::EmptyDeparture, "出発地を入力してください");
    row("no destination", "大阪", "", Reason::EmptyDestination, "目的地を入力してください");
    row("neither: the departure first", "", "", Reason::EmptyDeparture, "出発地を入力してください");
    row("unknown departure", "東京タワー", "奈良", Reason::UnknownDeparture,
        "出発地「東京タワー」という町は地図にありません");
    row("a place without roads", "大阪", "大津", Reason::UnknownDestination,
        "目的地「大津」という町は地図にありません");
    row("hidden departure, its roads once each", "山崎", "奈良", Reason::HiddenDeparture,
        QStringLiteral("出発地「山崎」") + yamazaki);
    row("hidden destination", "大阪", "山崎", Reason::HiddenDestination,
        QStringLiteral("目的地「山崎」") + yamazaki);
    row("hidden town with an event only", "大原", "奈良", Reason::HiddenDeparture,
        "出発地「大原」は隠れた街です。ルートは町と町を結びます");
    row("hidden departure before unknown destination", "山崎", "東京タワー",
        Reason::HiddenDeparture, QStringLiteral("出発地「山崎」") + yamazaki);
    row("same town", "京都", "京都", Reason::SameTown, "出発地と目的地が同じ町「京都」です");
    row("same hidden town", "山崎", "山崎", Reason::HiddenDeparture,
        QStringLiteral("出発地「山崎」") + yamazaki);
}

void TestTownPairCheck::tellsWhyAPairGivesNoRoute()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(Reason, reason);
    QFETCH(QString, message);
    const TownPairCheck::HiddenRoads hidden =
        HiddenTownRoads::read(m_map->cn, m_map->graph, {departure, destination});
    const TownPairCheck::Finding finding =
        TownPairCheck(m_map->graph, hidden).check(departure, destination);
    QCOMPARE(finding.reason, reason);
    QCOMPARE(finding.message, message);

    // "最短ルート" refuses the same pairs in the same words.
    try {
        const QStringList routes = ShortestRoutes::find(m_map->graph, departure, destination,
                                                        ShortestRoutes::kCount, hidden);
        QVERIFY(reason == Reason::None);
        QCOMPARE(routes, QStringList{QStringLiteral("00070-大阪-京都-奈良")});
    } catch (const MoraveltError& error) {
        QCOMPARE(error.message(), message);
    }
}

QTEST_MAIN(TestTownPairCheck)
#include "tst_townpaircheck.moc"
