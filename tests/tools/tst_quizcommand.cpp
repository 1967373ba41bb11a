// SPDX-License-Identifier: MIT

#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "quiz/journeyplanner.h"
#include "testmapdb.h"
#include "toolrun.h"

#include <QFileInfo>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

const QString kRoute = QStringLiteral("00161-京都-奈良-橿原-堺-和歌山");

QString sampleDb()
{
    return QFileInfo(QStringLiteral(MORAVELT_SAMPLE_DB)).absoluteFilePath();
}

QList<QStringList> cards(const QByteArray& out)
{
    QList<QStringList> lines;
    for (const QString& line : QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.split(QLatin1Char('\t'));
    return lines;
}

ToolRun quiz(const QStringList& args, const QString& db = sampleDb())
{
    return runTool(QStringList{"quiz", "--db", db} + args);
}

// The lines the game's own planner gives for the seed, without the marks.
QList<QStringList> gameCards(const QString& route, quint32 seed)
{
    const MapDatabase cn(MapDatabase::connectionStringForFile(sampleDb()));
    const JourneyPlanner planner(cn);
    const JourneyPlan plan =
        route == QStringLiteral("ランダム") ? planner.random(seed) : planner.along(route, seed);
    QList<QStringList> lines{{QStringLiteral("seed %1").arg(seed)}};
    for (const JourneyStop& stop : plan.stops) {
        if (stop.kind == JourneyStop::Kind::Quiz)
            lines << QStringList{stop.town,       stop.question,   stop.answers[0],
                                 stop.answers[1], stop.answers[2], QString::number(stop.points)};
        else
            lines << QStringList{QStringLiteral("寄り道"), stop.town, stop.text};
    }
    return lines;
}

} // namespace

class TestQuizCommand : public QObject
{
    Q_OBJECT
private slots:
    void answersMatchTheMapRows();
    void sameSeedSameJourneyAsTheGame_data();
    void sameSeedSameJourneyAsTheGame();
    void unseededRunSaysItsSeed();
    void badDataIsNoted();
    void refusesBadInput_data();
    void refusesBadInput();
};

void TestQuizCommand::answersMatchTheMapRows()
{
    const ToolRun run = quiz({"--seed", "77", "--answers", kRoute});
    QCOMPARE(run.exitCode, 0);
    const QList<QStringList> lines = cards(run.out);
    QCOMPARE(lines.value(0), QStringList{"seed 77"});
    QStringList towns;
    const MapDatabase cn(MapDatabase::connectionStringForFile(sampleDb()));
    for (const QStringList& line : lines.mid(1)) {
        if (line[0] == QStringLiteral("寄り道")) {
            QCOMPARE(line.size(), 3);
            towns << QStringLiteral("+") + line[1];
            const RecordsetPtr event = cn.open(QueryTexts::hiddenEvent(line[1]));
            QCOMPARE(line[2], event->value(QStringLiteral("イベント")).toString());
            continue;
        }
        QCOMPARE(line.size(), 6);
        towns << line[0];
        const RecordsetPtr row = cn.open(QueryTexts::quiz(line[0]));
        QCOMPARE(line[1], row->value(1).toString());
        QCOMPARE(line[5], QString::number(row->value(5).toInt()));
        QStringList stored;
        QString marked;
        for (int i = 2; i <= 4; ++i) {
            stored << row->value(i).toString().mid(3);
            if (row->value(i).toString().startsWith(u'正'))
                marked = row->value(i).toString().mid(3);
        }
        QStringList shown = line.mid(2, 3);
        QCOMPARE(shown.filter(QRegularExpression(QStringLiteral("^\\*"))),
                 QStringList{QStringLiteral("*") + marked});
        shown.replaceInStrings(QRegularExpression(QStringLiteral("^\\*")), QString());
        shown.sort();
        stored.sort();
        QCOMPARE(shown, stored);
    }
    QCOMPARE(towns,
             (QStringList{"京都", "+宇治", "奈良", "+天理", "橿原", "堺", "+岸和田", "和歌山"}));
}

void TestQuizCommand::sameSeedSameJourneyAsTheGame_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("seed");
    QTest::newRow("route, seed 0") << kRoute << "0";
    QTest::newRow("route, seed 31337") << kRoute << "31337";
    QTest::newRow("route, largest seed") << "00045-京都-奈良"
                                         << "4294967295";
    QTest::newRow("random towns") << "ランダム"
                                  << "8";
}

void TestQuizCommand::sameSeedSameJourneyAsTheGame()
{
    QFETCH(QString, route);
    QFETCH(QString, seed);
    const ToolRun plain = quiz({"--seed", seed, route});
    QCOMPARE(plain.exitCode, 0);
    QCOMPARE(cards(plain.out), gameCards(route, seed.toUInt()));
    // The marks only add a "*".
    const ToolRun marked = quiz({"--answers", "--seed", seed, route});
    QCOMPARE(QString::fromUtf8(marked.out).remove(QLatin1Char('*')), QString::fromUtf8(plain.out));
    QCOMPARE(quiz({"--seed", seed, route}).out, plain.out);
    // Another seed orders some answers differently.
    const ToolRun other = quiz({"--seed", QString::number(seed.toUInt() ^ 1u), route});
    QVERIFY(cards(other.out).mid(1) != cards(plain.out).mid(1));
}

void TestQuizCommand::unseededRunSaysItsSeed()
{
    const ToolRun run = quiz({kRoute});
    QCOMPARE(run.exitCode, 0);
    const QString first = cards(run.out).value(0).value(0);
    QVERIFY2(first.startsWith(QStringLiteral("seed ")), qPrintable(first));
    QCOMPARE(quiz({"--seed", first.mid(5), kRoute}).out, run.out);
}

void TestQuizCommand::badDataIsNoted()
{
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 10);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 10);
    map.quizzes = {{"A", "問", "正解：一", "正解：二", "不正：三", 10},
                   {"B", "問", "正解：一", "不正：二", "不正：三", "十点"}};
    const TestMapDb db(map);
    const ToolRun run = quiz({"--seed", "3", "--answers", "00020-A-B-C"}, db.fileName());
    QCOMPARE(run.exitCode, 0);
    const QList<QStringList> lines = cards(run.out);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[1], (QStringList{"A", "(この町のクイズには正解の印が 2 つあります)"}));
    QCOMPARE(lines[2].size(), 6);
    QVERIFY(lines[2].contains(QStringLiteral("*一")));
    QCOMPARE(lines[2][5], QStringLiteral("0")); // text points count nothing
    QCOMPARE(lines[3], (QStringList{"C", "(この町にはクイズがありません)"}));
}

void TestQuizCommand::refusesBadInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no route") << QStringList{"quiz", "--db", "DB"} << 2 << "usage";
    QTest::newRow("no map") << QStringList{"quiz", kRoute} << 2 << "usage";
    QTest::newRow("seed in words")
        << QStringList{"quiz", "--db", "DB", "--seed", "x", kRoute} << 2 << "--seed";
    QTest::newRow("seed too large")
        << QStringList{"quiz", "--db", "DB", "--seed", "4294967296", kRoute} << 2 << "--seed";
    QTest::newRow("malformed route")
        << QStringList{"quiz", "--db", "DB", "京都-奈良"} << 1 << "malformed";
    QTest::newRow("missing map") << QStringList{"quiz", "--db", "/nonexistent/m.mdb", kRoute} << 1
                                 << "/nonexistent/m.mdb";
}

void TestQuizCommand::refusesBadInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    args.replaceInStrings(QStringLiteral("DB"), sampleDb());
    const ToolRun run = runTool(args);
    QCOMPARE(run.exitCode, code);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
}

QTEST_GUILESS_MAIN(TestQuizCommand)
#include "tst_quizcommand.moc"
