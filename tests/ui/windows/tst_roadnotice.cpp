// SPDX-License-Identifier: MIT

#include "searchtestmaps.h"
#include "session/gamesession.h"
#include "testprompt.h"
#include "windows/roadnotice.h"

#include <QSignalSpy>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

class TestRoadNotice : public QObject
{
    Q_OBJECT
private slots:
    void namesDroppedRowsOnceAfterASearch();
    void saysNothingOfASoundMap();
};

void TestRoadNotice::namesDroppedRowsOnceAfterASearch()
{
    TestMap map;
    oneWay(map, QStringLiteral("大阪"), QStringLiteral("那覇"), 9e12);
    oneWay(map, QStringLiteral("大阪"), QStringLiteral("京都"), 50);
    TestMapDb db(map);
    TestPrompt prompt;
    RoadNotice notice(std::make_shared<const GameSession>(db.connectionString()), prompt);
    QSignalSpy checked(&notice, &RoadNotice::checked);
    notice.hold(true); // a search is running when the roads come
    QVERIFY(checked.wait());
    QCOMPARE(prompt.messages, QStringList());
    notice.hold(false);
    QCOMPARE(prompt.messages.size(), 1);
    QVERIFY2(prompt.messages.first().contains(QStringLiteral("「大阪」→「那覇」")),
             qPrintable(prompt.messages.first()));
    // Once per game: later searches say nothing.
    notice.hold(true);
    notice.hold(false);
    QCOMPARE(prompt.messages.size(), 1);
}

void TestRoadNotice::saysNothingOfASoundMap()
{
    TestMapDb db(completeMap({QStringLiteral("A"), QStringLiteral("B")}));
    TestPrompt prompt;
    RoadNotice notice(std::make_shared<const GameSession>(db.connectionString()), prompt);
    QSignalSpy checked(&notice, &RoadNotice::checked);
    QVERIFY(checked.wait());
    QCOMPARE(prompt.messages, QStringList());
}

QTEST_MAIN(TestRoadNotice)
#include "tst_roadnotice.moc"
