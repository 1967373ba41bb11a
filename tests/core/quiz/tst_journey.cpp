// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "mapdb/recordset.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navilistbuilder.h"
#include "quiz/journey.h"
#include "quiz/journeyplanner.h"
#include "quiz/journeytexts.h"
#include "quiz/quizcard.h"
#include "quiz/seededshuffle.h"
#include "testmapdb.h"

#include <QFileInfo>
#include <QtTest>
#include <algorithm>
#include <set>

using namespace moravelt;
using namespace moravelt::test;

Q_DECLARE_METATYPE(moravelt::test::TestMap)

namespace {

using Kind = JourneyStop::Kind;

QVariantList quiz(const QString& town, const QVariant& a1, const QVariant& a2, const QVariant& a3,
                  const QVariant& points = 10)
{
    return {town, QStringLiteral("問") + town, a1, a2, a3, points};
}

// A to B to C, a hidden town on A to B (and one on the way back, which A to B never meets), two
// on B to C out of distance order, one on a road from B that leads elsewhere; C has no quiz.
TestMap fixture()
{
    TestMap map;
    map.road(QStringLiteral("A"), QStringLiteral("B"), 12);
    map.road(QStringLiteral("B"), QStringLiteral("C"), 20);
    map.road(QStringLiteral("B"), QStringLiteral("D"), 5);
    map.hidden = {{"A", "B", "森", 4},
                  {"B", "A", "森", 8},
                  {"B", "C", "丙", 15},
                  {"B", "D", "外", 1},
                  {"B", "C", "甲", 2.5}};
    map.events = {{"森", "くまに出会った"}, {"丙", "丙の祭り"}, {"甲", "甲の市"}, {"外", "外の湯"}};
    map.quizzes = {quiz("A", "不正：北", "正解：答A", "不正：南"),
                   quiz("B", "正解：答B", "不正：東", "不正：西", 30)};
    return map;
}

// A card as "kind town" for comparing whole journeys at a glance.
QStringList outline(const JourneyPlan& plan)
{
    QStringList cards;
    for (const JourneyStop& stop : plan.stops) {
        const char* kind = stop.kind == Kind::Quiz ? "Q" : stop.kind == Kind::Detour ? "D" : "S";
        cards << QString::fromLatin1(kind) + QLatin1Char(' ') + stop.town;
    }
    return cards;
}

QString sampleDb()
{
    return QFileInfo(QStringLiteral(MORAVELT_SAMPLE_DB)).absoluteFilePath();
}

Recordset quizRows(const QVariantList& row)
{
    std::vector<QVariantList> rows;
    if (!row.isEmpty())
        rows.push_back(row);
    return Recordset({"地名", "問題", "Ans1", "Ans2", "Ans3", "得点"}, rows);
}

JourneyStop card(Kind kind, int correct = -1, int points = 0)
{
    JourneyStop stop;
    stop.kind = kind;
    stop.town = QStringLiteral("町");
    stop.answers = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")};
    stop.correct = correct;
    stop.points = points;
    return stop;
}

} // namespace

class TestJourney : public QObject
{
    Q_OBJECT
private slots:
    void plansTheCardsOfARoute_data();
    void plansTheCardsOfARoute();
    void sampleRouteFollowsTheMapRowsAndTheNavigationList();
    void shuffleIsASeededPermutation();
    void shuffleMovesTheCorrectAnswerEverywhere();
    void quizRowsBecomeCards_data();
    void quizRowsBecomeCards();
    void points_data();
    void points();
    void scoresAnswers_data();
    void scoresAnswers();
    void cardsTakeAnswersOnlyWhenTheyShould();
    void randomJourneyDrawsQuizTowns();
    void refusesWhatCannotBeAJourney();
    void texts();
};

void TestJourney::plansTheCardsOfARoute_data()
{
    QTest::addColumn<TestMap>("map");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("hidden towns by distance, the other leg and direction left out")
        << fixture() << "00032-A-B-C" << QStringList{"Q A", "D 森", "Q B", "D 甲", "D 丙", "S C"};
    QTest::newRow("one town") << fixture() << "00000-B" << QStringList{"Q B"};
    QTest::newRow("the way back") << fixture() << "00032-C-B-A"
                                  << QStringList{"S C", "Q B", "D 森", "Q A"};
    // A leg without its road row has no destination for hidden towns to lead to, as in the
    // navigation list.
    QTest::newRow("leg without a road")
        << fixture() << "00012-A-C-B" << QStringList{"Q A", "S C", "Q B"};
}

void TestJourney::plansTheCardsOfARoute()
{
    QFETCH(TestMap, map);
    QFETCH(QString, route);
    QFETCH(QStringList, expected);
    const TestMapDb db(map);
    const MapDatabase cn(db.connectionString());
    const JourneyPlan plan = JourneyPlanner(cn).along(route, 7);
    QCOMPARE(outline(plan), expected);
    QCOMPARE(plan.route, route);
    QCOMPARE(plan.seed, 7u);
    QCOMPARE(plan.towns, route.split(QLatin1Char('-')).mid(1));
    for (const JourneyStop& stop : plan.stops) {
        if (stop.kind == Kind::Detour)
            QVERIFY2(!stop.text.isEmpty() && !stop.distance.isEmpty(), qPrintable(stop.town));
        if (stop.kind == Kind::Skipped)
            QCOMPARE(stop.text, QStringLiteral("この町にはクイズがありません"));
    }
}

void TestJourney::sampleRouteFollowsTheMapRowsAndTheNavigationList()
{
    const MapDatabase cn(MapDatabase::connectionStringForFile(sampleDb()));
    const QString route = QStringLiteral("00161-京都-奈良-橿原-堺-和歌山");
    const JourneyPlan plan = JourneyPlanner(cn).along(route, 2024);
    QCOMPARE(outline(plan), (QStringList{"Q 京都", "D 宇治", "Q 奈良", "D 天理", "Q 橿原", "Q 堺",
                                         "D 岸和田", "Q 和歌山"}));

    // The detours are the navigation list's hidden-town rows, in its order, with its events.
    QuerySlots querySlots(cn);
    FlexGridModel grid;
    NaviListBuilder(querySlots).NaveSet(route, false, grid);
    QStringList listed;
    for (int r = 1; r < grid.rows(); ++r)
        if (grid.textMatrix(r, 0).isEmpty())
            listed << grid.textMatrix(r, 1) + QLatin1Char('|') + grid.textMatrix(r, 2);
    QStringList detours;
    for (const JourneyStop& stop : plan.stops)
        if (stop.kind == Kind::Detour)
            detours << stop.town + QLatin1Char('|') + stop.text;
    QCOMPARE(detours, listed);

    // Every quiz card is its town's row: the question, the answers without their marks in
    // some order, the marked one as the correct one, and the points.
    for (const JourneyStop& stop : plan.stops) {
        if (stop.kind != Kind::Quiz)
            continue;
        const QVariantList row = cn.open(QueryTexts::quiz(stop.town))->row(0);
        QCOMPARE(stop.question, row[1].toString());
        QStringList stored;
        QString marked;
        for (int i = 2; i <= 4; ++i) {
            stored << row[i].toString().mid(3);
            if (row[i].toString().startsWith(u'正'))
                marked = row[i].toString().mid(3);
        }
        QStringList shown(stop.answers.begin(), stop.answers.end());
        QCOMPARE(stop.answers[std::size_t(stop.correct)], marked);
        std::sort(stored.begin(), stored.end());
        std::sort(shown.begin(), shown.end());
        QCOMPARE(shown, stored);
        QCOMPARE(stop.points, row[5].toInt());
        QVERIFY(stop.points > 0);
    }
    // Planned again with the seed, the journey is the same; with another seed the answers move.
    const JourneyPlan again = JourneyPlanner(cn).along(route, 2024);
    const JourneyPlan other = JourneyPlanner(cn).along(route, 2025);
    bool moved = false;
    for (std::size_t i = 0; i < plan.stops.size(); ++i) {
        QCOMPARE(again.stops[i].answers, plan.stops[i].answers);
        moved = moved || other.stops[i].answers != plan.stops[i].answers;
    }
    QVERIFY(moved);
}

void TestJourney::shuffleIsASeededPermutation()
{
    for (const int n : {0, 1, 3, 10, 240}) {
        for (quint32 seed = 0; seed < 50; ++seed) {
            const std::vector<int> order = SeededShuffle(seed).permutation(n, 3);
            std::vector<int> sorted = order;
            std::sort(sorted.begin(), sorted.end());
            for (int i = 0; i < n; ++i)
                QCOMPARE(sorted[std::size_t(i)], i);
            QCOMPARE(SeededShuffle(seed).permutation(n, 3), order);
        }
    }
    // Pinned: a seed in the records or on the tool's command line must replay the same
    // journey in any later version.
    QCOMPARE(SeededShuffle(7).permutation(3, 1), (std::vector<int>{1, 2, 0}));
    QCOMPARE(SeededShuffle(12345).permutation(5, 0), (std::vector<int>{2, 3, 4, 1, 0}));
    // Streams and seeds are independent draws: the stops of a journey do not all agree.
    std::set<std::vector<int>> byStream;
    std::set<std::vector<int>> bySeed;
    for (int k = 0; k < 30; ++k) {
        byStream.insert(SeededShuffle(9).permutation(3, quint64(k)));
        bySeed.insert(SeededShuffle(quint32(k)).permutation(3, 1));
    }
    QCOMPARE(byStream.size(), std::size_t(6));
    QCOMPARE(bySeed.size(), std::size_t(6));
}

void TestJourney::shuffleMovesTheCorrectAnswerEverywhere()
{
    const Recordset rows = quizRows(quiz("A", "不正：北", "不正：南", "正解：答"));
    std::array<int, 3> where{};
    for (quint32 seed = 0; seed < 300; ++seed) {
        const JourneyStop stop = QuizCard::read(QStringLiteral("A"), rows, SeededShuffle(seed), 1);
        QCOMPARE(stop.answers[std::size_t(stop.correct)], QStringLiteral("答"));
        ++where[std::size_t(stop.correct)];
    }
    // Each place gets about a third: none is left out or strongly favoured.
    for (const int count : where)
        QVERIFY2(count > 60 && count < 140, qPrintable(QString::number(count)));
}

void TestJourney::quizRowsBecomeCards_data()
{
    QTest::addColumn<QVariantList>("row");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("correct"); // or a part of the note
    QTest::addColumn<int>("points");
    QTest::newRow("marked second")
        << quiz("A", "不正：北", "正解：答", "不正：南") << int(Kind::Quiz) << "答" << 10;
    QTest::newRow("any other first character is unmarked")
        << quiz("A", "誤答：北", "正しい答", "×　南", 5) << int(Kind::Quiz) << "答" << 5;
    QTest::newRow("no quiz row") << QVariantList() << int(Kind::Skipped) << "クイズがありません"
                                 << 0;
    QTest::newRow("no marked answer") << quiz("A", "不正：北", "不正：答", QVariant())
                                      << int(Kind::Skipped) << "正解の印がありません" << 0;
    QTest::newRow("two marked answers") << quiz("A", "正解：北", "不正：答", "正解：南")
                                        << int(Kind::Skipped) << "正解の印が 2 つ" << 0;
    QTest::newRow("three marked answers") << quiz("A", "正解：北", "正解：答", "正解：南")
                                          << int(Kind::Skipped) << "正解の印が 3 つ" << 0;
    QTest::newRow("short row") << QVariantList{"A", "問", "正解：北", "不正：答"}
                               << int(Kind::Skipped) << "データが足りません" << 0;
    QTest::newRow("text points") << quiz("A", "正解：北", "不正：答", "不正：南", "たくさん")
                                 << int(Kind::Quiz) << "北" << 0;
}

void TestJourney::quizRowsBecomeCards()
{
    QFETCH(QVariantList, row);
    QFETCH(int, kind);
    QFETCH(QString, correct);
    QFETCH(int, points);
    const JourneyStop stop =
        QuizCard::read(QStringLiteral("A"), quizRows(row), SeededShuffle(1), 1);
    QCOMPARE(int(stop.kind), kind);
    QCOMPARE(stop.town, QStringLiteral("A"));
    QCOMPARE(stop.points, points);
    if (stop.kind == Kind::Skipped) {
        QVERIFY2(stop.text.contains(correct), qPrintable(stop.text));
        return;
    }
    QCOMPARE(stop.question, QStringLiteral("問A"));
    QVERIFY(stop.correct >= 0 && stop.correct < 3);
    // The mark is three characters, whatever they are.
    QCOMPARE(stop.answers[std::size_t(stop.correct)], correct);
}

void TestJourney::points_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("integer") << QVariant(20) << 20;
    QTest::newRow("whole real") << QVariant(30.0) << 30;
    QTest::newRow("text number") << QVariant(QStringLiteral(" 30 ")) << 30;
    QTest::newRow("zero") << QVariant(0) << 0;
    QTest::newRow("fraction") << QVariant(2.5) << 0;
    QTest::newRow("text fraction") << QVariant(QStringLiteral("2.5")) << 0;
    QTest::newRow("words") << QVariant(QStringLiteral("三十点")) << 0;
    QTest::newRow("empty text") << QVariant(QString()) << 0;
    QTest::newRow("negative") << QVariant(-5) << 0;
    QTest::newRow("too many") << QVariant(1e12) << 0;
    QTest::newRow("null") << QVariant() << 0;
}

void TestJourney::points()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QCOMPARE(QuizCard::points(value), expected);
}

void TestJourney::scoresAnswers_data()
{
    QTest::addColumn<QList<int>>("answers"); // one per quiz card, in order
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("right");
    // Quiz cards worth 10 (correct 0), 30 (correct 2) and 0 (correct 1), with a detour and a
    // skipped town between them: 40 possible over three questions.
    QTest::newRow("all right") << QList<int>{0, 2, 1} << 40 << 3;
    QTest::newRow("all wrong") << QList<int>{1, 0, 2} << 0 << 0;
    QTest::newRow("right on the 30") << QList<int>{2, 2, 0} << 30 << 1;
    QTest::newRow("right on the 0") << QList<int>{1, 1, 1} << 0 << 1;
}

void TestJourney::scoresAnswers()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, score);
    QFETCH(int, right);
    JourneyPlan plan{QStringLiteral("00010-A-B"), {"A", "B"}, 5, {}};
    plan.stops = {card(Kind::Quiz, 0, 10), card(Kind::Detour), card(Kind::Quiz, 2, 30),
                  card(Kind::Skipped), card(Kind::Quiz, 1, 0)};
    Journey journey(plan);
    QCOMPARE(journey.possible(), 40);
    QCOMPARE(journey.questions(), 3);
    qsizetype next = 0;
    while (!journey.isFinished()) {
        if (journey.current().kind == Kind::Quiz) {
            const int index = answers[next++];
            const bool expected = index == journey.current().correct;
            QCOMPARE(journey.answer(index).value_or(!expected), expected);
            QCOMPARE(journey.chosen().value_or(-1), index);
        }
        QVERIFY(journey.next());
    }
    QCOMPARE(journey.score(), score);
    QCOMPARE(journey.right(), right);
    QCOMPARE(journey.asked(), 3);
    const QDateTime when(QDate(2024, 5, 1), QTime(9, 30));
    QCOMPARE(journey.record(when, 75),
             (ScoreRecord{when, QStringLiteral("00010-A-B"), score, 40, right, 3, 75, 5}));
}

void TestJourney::cardsTakeAnswersOnlyWhenTheyShould()
{
    JourneyPlan plan;
    plan.stops = {card(Kind::Quiz, 1, 10), card(Kind::Detour), card(Kind::Quiz, 0, 20)};
    Journey journey(plan);
    QVERIFY(!journey.canGoOn()); // a question waits for its answer
    QVERIFY(!journey.next());
    QVERIFY(!journey.answer(3));
    QVERIFY(!journey.answer(-1));
    QCOMPARE(journey.answer(1).value_or(false), true);
    QVERIFY(!journey.answer(0)); // one answer per question
    QCOMPARE(journey.score(), 10);
    QVERIFY(journey.next());
    QVERIFY(!journey.answer(0)); // a detour asks nothing
    QVERIFY(!journey.chosen());
    QVERIFY(journey.next());
    QCOMPARE(journey.position(), 2);
    QVERIFY(!journey.next());
    QCOMPARE(journey.answer(0).value_or(false), true);
    QVERIFY(journey.next());
    QVERIFY(journey.isFinished());
    QVERIFY(!journey.next());
    QVERIFY(!journey.answer(0));
    QCOMPARE(journey.score(), 30);
}

void TestJourney::randomJourneyDrawsQuizTowns()
{
    const MapDatabase cn(MapDatabase::connectionStringForFile(sampleDb()));
    const JourneyPlanner planner(cn);
    const JourneyPlan plan = planner.random(99);
    QCOMPARE(int(plan.towns.size()), JourneyPlanner::kRandomTowns);
    QCOMPARE(plan.route, QStringLiteral("ランダム-") + plan.towns.join(QLatin1Char('-')));
    QCOMPARE(QSet<QString>(plan.towns.begin(), plan.towns.end()).size(), plan.towns.size());
    QCOMPARE(outline(plan).size(), plan.towns.size()); // no detours without legs
    for (const JourneyStop& stop : plan.stops)
        QVERIFY2(stop.kind == Kind::Quiz, qPrintable(stop.town));
    QCOMPARE(planner.random(99).towns, plan.towns);
    QVERIFY(planner.random(100).towns != plan.towns);

    // A map with fewer quiz towns gives them all, each once, whatever the seed.
    TestMap small = fixture();
    small.quizzes.push_back(quiz("A", "正解：又", "不正：x", "不正：y")); // a second row for A
    const TestMapDb db(small);
    const MapDatabase few(db.connectionString());
    for (quint32 seed : {0u, 1u, 4000000000u}) {
        QStringList towns = JourneyPlanner(few).random(seed).towns;
        towns.sort();
        QCOMPARE(towns, (QStringList{"A", "B"}));
    }
}

void TestJourney::refusesWhatCannotBeAJourney()
{
    TestMap empty = fixture();
    empty.quizzes.clear();
    const TestMapDb db(empty);
    const MapDatabase cn(db.connectionString());
    QVERIFY_THROWS_EXCEPTION(MoraveltError, JourneyPlanner(cn).random(1));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, JourneyPlanner(cn).along(QStringLiteral("00012"), 1));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, JourneyPlanner(cn).along(QString(), 1));
}

void TestJourney::texts()
{
    QCOMPARE(JourneyTexts::duration(45), QStringLiteral("45秒"));
    QCOMPARE(JourneyTexts::duration(185), QStringLiteral("3分05秒"));
    QCOMPARE(JourneyTexts::duration(3723), QStringLiteral("1時間02分03秒"));
    QCOMPARE(JourneyTexts::duration(-3), QStringLiteral("0秒"));
    QCOMPARE(JourneyTexts::score(80, 120), QStringLiteral("80 / 120 点"));
    QCOMPARE(JourneyTexts::right(4, 6), QStringLiteral("4 / 6 問"));
}

QTEST_GUILESS_MAIN(TestJourney)
#include "tst_journey.moc"
