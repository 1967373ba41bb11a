// SPDX-License-Identifier: MIT

#include "searchtestmaps.h"

#include "toolrun.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Roads A-B 10, B-C 20, A-C 50, D-E 5; the hidden town 森 on A to B; a quiz for each town.
TestMap threeTowns()
{
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 10);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 20);
    map.road(QStringLiteral("A"), QStringLiteral("C"), 50);
    map.road(QStringLiteral("D"), QStringLiteral("E"), 5); // reached from none of A, B, C
    map.hidden.push_back({"A", "B", "森", 4});
    map.events.push_back({"森", "くまに出会った"});
    for (const char* town : {"A", "B", "C"})
        map.quizzes.push_back(
            {town, "?", QStringLiteral("正解：答") + town, "不正：x", "不正：y", 10});
    return map;
}

} // namespace

class TestMapCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void printsTheSearchAndTheList_data();
    void printsTheSearchAndTheList();
    void refusesBadInput_data();
    void refusesBadInput();

private:
    std::unique_ptr<TestMapDb> m_db;
};

void TestMapCommands::initTestCase()
{
    m_db = std::make_unique<TestMapDb>(threeTowns());
}

void TestMapCommands::printsTheSearchAndTheList_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("route") << QStringList{"route", "A", "C"}
                           << QByteArray("step 0\n00050-A-C\nstep 1\n00030-A-B-C\n"
                                         "end: frontier exhausted after step 1\n");
    QTest::newRow("route, one step")
        << QStringList{"route", "--steps", "0", "--level", "0", "A", "C"}
        << QByteArray("step 0\n00050-A-C\nend: stopped after step 0\n");
    QTest::newRow("route, list")
        << QStringList{"route", "--list", "A", "C"}
        << QByteArray("step 0: 1 routes\nstep 1: 1 routes\nend: frontier exhausted after step 1\n"
                      "list: 2 routes\n00030-A-B-C\n00050-A-C\n");
    QTest::newRow("route, full list")
        << QStringList{"route", "--keep", "1", "A", "C"}
        << QByteArray("step 0\n00050-A-C\nlist full in step 0: 1 routes; from here on the "
                      "shortest are kept\nstep 1\n00030-A-B-C\nend: frontier exhausted after "
                      "step 1\n");
    QTest::newRow("route, full list printed")
        << QStringList{"route", "--keep", "1", "--list", "A", "C"}
        << QByteArray("step 0: 1 routes\nlist full in step 0: 1 routes; from here on the "
                      "shortest are kept\nstep 1: 1 routes\nend: frontier exhausted after "
                      "step 1\nlist: 1 routes\n00030-A-B-C\n");
    QTest::newRow("route, none") << QStringList{"route", "C", "C"}
                                 << QByteArray("end: frontier exhausted after step 2\n");
    QTest::newRow("navi") << QStringList{"navi", "00030-A-B-C"}
                          << QByteArray(
                                 "A\t\xe2\x86\x92\tB\t10 km \t\t\r\n"
                                 "\t\xe6\xa3\xae\t\xe3\x81\x8f\xe3\x81\xbe\xe3\x81\xab\xe5"
                                 "\x87\xba\xe4\xbc\x9a\xe3\x81\xa3\xe3\x81\x9f\t(4 km)\t\t\r\n"
                                 "B\t\xe2\x86\x92\tC\t20 km \t\t\r\n"
                                 "C\t\t\t\t\t\r\n");
    QTest::newRow("navi with answers") << QStringList{"navi", "--answers", "00050-A-C"}
                                       << QByteArray("A\t\xe2\x86\x92\tC\t50 km \t\xe7\xad\x94"
                                                     "A\t\r\n"
                                                     "C\t\t\t\t\xe7\xad\x94"
                                                     "C\t\r\n");
}

void TestMapCommands::printsTheSearchAndTheList()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, expected);
    args.insert(1, QStringLiteral("--db"));
    args.insert(2, m_db->fileName());
    const ToolRun run = runTool(args);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected);
}

void TestMapCommands::refusesBadInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString db = QStringLiteral("DB");
    QTest::newRow("missing file") << QStringList{"route", "--db", "/nonexistent/map.mdb", "A", "C"}
                                  << "/nonexistent/map.mdb";
    QTest::newRow("unknown departure") << QStringList{"route", "--db", db, "X", "C"} << "\"X\"";
    QTest::newRow("unknown destination") << QStringList{"route", "--db", db, "A", "大"} << "\"大\"";
    QTest::newRow("level") << QStringList{"route", "--db", db, "--level", "5", "A", "C"}
                           << "--level";
    QTest::newRow("keep") << QStringList{"route", "--db", db, "--keep", "0", "A", "C"} << "--keep";
    QTest::newRow("one town") << QStringList{"route", "--db", db, "A"} << "destination";
    QTest::newRow("navi, no total") << QStringList{"navi", "--db", db, "A-B"} << "malformed";
    QTest::newRow("navi, empty town")
        << QStringList{"navi", "--db", db, "00010-A--B"} << "malformed";
    QTest::newRow("navi, unknown town") << QStringList{"navi", "--db", db, "00010-A-Q"} << "\"Q\"";
    QTest::newRow("navi, leg without road")
        << QStringList{"navi", "--db", db, "00015-A-B-D"} << "no road from \"B\" to \"D\"";
    QTest::newRow("navi, missing file")
        << QStringList{"navi", "--db", "/nonexistent/m", "00010-A-B"} << "/nonexistent/m";
}

void TestMapCommands::refusesBadInput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    args.replaceInStrings(QStringLiteral("DB"), m_db->fileName());
    const ToolRun run = runTool(args);
    QVERIFY(run.exitCode > 0);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
}

QTEST_GUILESS_MAIN(TestMapCommands)
#include "tst_mapcommands.moc"
