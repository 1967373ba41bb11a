// SPDX-License-Identifier: MIT

#include "testmapdb.h"

#include <QProcess>
#include <QtTest>

using namespace moravelt::test;

class TestShortestCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void prints_data();
    void prints();

private:
    std::unique_ptr<TestMapDb> m_db;
};

void TestShortestCommand::initTestCase()
{
    // Roads A-B 10, B-C 20, A-C 50, and D reached from C only.
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 10);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 20);
    map.road(QStringLiteral("A"), QStringLiteral("C"), 50);
    map.roads.push_back({"D", "C", 5.0});
    m_db = std::make_unique<TestMapDb>(map);
}

void TestShortestCommand::prints_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("ten") << QStringList{"--shortest", "10", "A", "C"} << 0
                         << QByteArray("00030-A-B-C\n00050-A-C\n") << "";
    QTest::newRow("one, option after the towns")
        << QStringList{"C", "A", "--shortest=1"} << 0 << QByteArray("00030-C-B-A\n") << "";
    QTest::newRow("no route") << QStringList{"--shortest", "3", "A", "D"} << 1 << QByteArray()
                              << "「A」から「D」へのルートはありません";
    QTest::newRow("unknown town") << QStringList{"--shortest", "3", "A", "Z"} << 1 << QByteArray()
                                  << "目的地「Z」という町は地図にありません";
    QTest::newRow("K of 0") << QStringList{"--shortest", "0", "A", "C"} << 2 << QByteArray()
                            << "--shortest must be 1 to 1000";
    QTest::newRow("K not a number") << QStringList{"--shortest", "x", "A", "C"} << 2 << QByteArray()
                                    << "--shortest must be 1 to 1000";
    QTest::newRow("one town") << QStringList{"--shortest", "3", "A"} << 2 << QByteArray()
                              << "give the departure and the destination";
}

void TestShortestCommand::prints()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);
    QProcess tool;
    tool.start(QStringLiteral(MORAVELT_MAP_TOOL),
               QStringList{"route", "--db", m_db->fileName()} + args);
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), exitCode);
    QCOMPARE(tool.readAllStandardOutput(), out);
    const QString errors = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(errors.contains(err), qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestShortestCommand)
#include "tst_shortestcommand.moc"
