// SPDX-License-Identifier: MIT

#include "mapview/mapimage.h"
#include "navilist/routelistmodel.h"
#include "quiz/scorestore.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form3.h"
#include "windows/journeywindow.h"
#include "windows/quizcommands.h"
#include "windows/recordswindow.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Dots in twips, 15 to a pixel of the 500 x 500 picture: 京都 (200, 100), 大津 (300, 100),
// 奈良 (200, 300), 大阪 (100, 200), and the hidden town 大原 on 京都 to 大津. 大阪 has no quiz.
TestMap kansai()
{
    TestMap map;
    map.towns = {{"京都", 3000.0, 1500.0},
                 {"大津", 4500.0, 1500.0},
                 {"大阪", 1500.0, 3000.0},
                 {"奈良", 3000.0, 4500.0},
                 {"大原", 3750.0, 1500.0}};
    map.road(QStringLiteral("京都"), QStringLiteral("大津"), 10);
    map.road(QStringLiteral("大津"), QStringLiteral("奈良"), 50);
    map.road(QStringLiteral("京都"), QStringLiteral("大阪"), 40);
    map.road(QStringLiteral("大阪"), QStringLiteral("奈良"), 30);
    map.hidden = {{"京都", "大津", "大原", 3.0}};
    map.events = {{"大原", "里で休んだ"}};
    map.quizzes = {{"京都", "京都の祭りは？", "不正：雪", "不正：星", "正解：祇園祭", 10},
                   {"大津", "大津の湖は？", "正解：琵琶湖", "不正：浜名湖", "不正：諏訪湖", 20},
                   {"奈良", "奈良の大仏は？", "不正：阿弥陀", "正解：盧舎那仏", "不正：薬師", 30}};
    return map;
}

const QStringList kRoutes{"00060-京都-大津-奈良", "00070-京都-大阪-奈良"};

Qt::Key key(int index)
{
    return Qt::Key(Qt::Key_1 + index);
}

} // namespace

class TestJourneyWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entriesFollowTheMenuBar();
    void playsTheRouteByKeysAndMouse();
    void leavingRecordsNothing();
    void journeyFollowsTheChosenRoute_data();
    void journeyFollowsTheChosenRoute();
    void unusableRecordsAreSaidOnce();
    void recordsWindowShowsBestAndLatest();

private:
    JourneyWindow* start();
    QString scoresPath() const { return m_data.filePath(QStringLiteral("moravelt/scores.sqlite")); }
    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    QTemporaryDir m_data;
    TestPrompt m_prompt;
    Form1* m_main = nullptr;
};

void TestJourneyWindow::init()
{
    m_db = std::make_unique<TestMapDb>(kansai());
    QImage picture(500, 500, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg"), "PNG"));
    QDir(m_data.path()).removeRecursively();
    m_prompt = TestPrompt();
    m_main = new Form1({.programFolder = m_db->folder(),
                        .settingsPath = m_current.filePath(QStringLiteral("Moravelt.ini")),
                        .prompt = &m_prompt,
                        .scoresPath = scoresPath()});
    m_main->load();
    m_main->show();
    form3().routeList().addRoutes(kRoutes);
}

void TestJourneyWindow::cleanup()
{
    destroyWindows();
    QFile::setPermissions(scoresPath(), QFile::ReadOwner | QFile::WriteOwner);
}

JourneyWindow* TestJourneyWindow::start()
{
    m_main->quiz()->journeyMenu()->trigger();
    JourneyWindow* window = m_main->quiz()->journeyWindow();
    return window && window->isVisible() ? window : nullptr;
}

void TestJourneyWindow::entriesFollowTheMenuBar()
{
    // The specified entries keep their places; the two new ones follow them, side by side
    // (only the window menu comes after them).
    const QList<QAction*> bar = m_main->menuBar()->actions();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(bar.indexOf(m_main->menu(i)), i);
    QCOMPARE(m_main->menu(2)->text(), QStringLiteral("ナビ作成"));
    const qsizetype journey = bar.indexOf(m_main->quiz()->journeyMenu());
    QVERIFY(journey >= 3 && journey + 1 < bar.size());
    QCOMPARE(bar[journey + 1], m_main->quiz()->recordsMenu());
    QCOMPARE(bar[journey]->text(), QStringLiteral("旅クイズ"));
    QCOMPARE(bar[journey + 1]->text(), QStringLiteral("記録"));
    QCOMPARE(bar.last()->text(), QStringLiteral("ウィンドウ"));
}

void TestJourneyWindow::playsTheRouteByKeysAndMouse()
{
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    JourneyWindow* w = start();
    QVERIFY(w);
    QVERIFY(!w->isModal() && !QApplication::activeModalWidget()); // the map can still be dragged
    QCOMPARE(w->titleLabel()->text(), QStringLiteral("京都"));
    QCOMPARE(w->textLabel()->text(), QStringLiteral("京都の祭りは？"));
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(w->answerButton(i)->isVisible());
        shown << w->answerButton(i)->text().mid(2); // "1　雪"
    }
    shown.sort();
    QCOMPARE(shown, (QStringList{"星", "祇園祭", "雪"}));
    // The map marks 京都 and brings it into view (into the middle as far as the map's edges
    // allow); the route stays drawn.
    const MapImage& image = *m_main->Image1();
    QCOMPARE(image.stop().point().value_or(QPointF()), QPointF(200, 100));
    const QSize area = m_main->centralWidget()->size();
    const QPointF onScreen(image.leftTwips() / 15 + 200, image.topTwips() / 15 + 100);
    QVERIFY2(QRectF(QPointF(0, 0), QSizeF(area)).contains(onScreen),
             qPrintable(QStringLiteral("%1,%2").arg(onScreen.x()).arg(onScreen.y())));
    QCOMPARE(image.route().points().size(), std::size_t(3));

    QTest::keyClick(w, Qt::Key_Return); // a question waits for its answer
    QCOMPARE(w->journey()->position(), 0);
    QVERIFY(!w->nextButton()->isEnabled());
    int correct = w->journey()->current().correct;
    QTest::keyClick(w, key(correct));
    QVERIFY2(w->verdictLabel()->text().contains(QStringLiteral("正解")),
             qPrintable(w->verdictLabel()->text()));
    QCOMPARE(w->scoreLabel()->text(), QStringLiteral("得点 10 / 60 点"));
    QTest::keyClick(w, key((correct + 1) % 3)); // answered once only
    QCOMPARE(w->journey()->score(), 10);

    QTest::keyClick(w, Qt::Key_Enter);
    QCOMPARE(w->titleLabel()->text(), QStringLiteral("寄り道　大原"));
    QCOMPARE(w->textLabel()->text(), QStringLiteral("里で休んだ"));
    QVERIFY(!w->answerButton(0)->isVisible());
    QCOMPARE(image.stop().point().value_or(QPointF()), QPointF(250, 100));
    QTest::mouseClick(w->nextButton(), Qt::LeftButton);

    QCOMPARE(w->titleLabel()->text(), QStringLiteral("大津"));
    correct = w->journey()->current().correct;
    const int wrong = (correct + 1) % 3;
    QTest::mouseClick(w->answerButton(wrong), Qt::LeftButton);
    QVERIFY2(w->verdictLabel()->text().contains(QStringLiteral("琵琶湖")),
             qPrintable(w->verdictLabel()->text()));
    QCOMPARE(w->journey()->score(), 10);
    QTest::mouseClick(w->nextButton(), Qt::LeftButton);

    QCOMPARE(w->titleLabel()->text(), QStringLiteral("奈良"));
    QTest::keyClick(w, key(w->journey()->current().correct));
    QTest::keyClick(w, Qt::Key_Return);
    QCOMPARE(w->titleLabel()->text(), QStringLiteral("ゴール！"));
    QVERIFY(w->textLabel()->text().contains(QStringLiteral("40 / 60 点")));
    QVERIFY(w->textLabel()->text().contains(QStringLiteral("2 / 3 問")));
    QVERIFY2(w->verdictLabel()->text().contains(QStringLiteral("40 点（新記録！）")),
             qPrintable(w->verdictLabel()->text()));
    QVERIFY(!w->nextButton()->isVisible());

    const std::vector<ScoreRecord> kept = ScoreStore(scoresPath()).latest(5);
    QCOMPARE(kept.size(), std::size_t(1));
    QCOMPARE(kept[0].route, kRoutes[0]);
    QCOMPARE(kept[0].score, 40);
    QCOMPARE(kept[0].possible, 60);
    QCOMPARE(kept[0].right, 2);
    QCOMPARE(kept[0].questions, 3);
    QCOMPARE(kept[0].seed, w->journey()->plan().seed);
    QVERIFY(m_prompt.errors.isEmpty());

    // The same route again, worse: the best stays.
    QTest::mouseClick(w->leaveButton(), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(!image.stop().point());
    QCOMPARE(start(), w);
    while (!w->journey()->isFinished()) {
        if (w->journey()->current().kind == JourneyStop::Kind::Quiz)
            QTest::keyClick(w, key((w->journey()->current().correct + 1) % 3));
        QTest::keyClick(w, Qt::Key_Return);
    }
    QCOMPARE(w->verdictLabel()->text(), QStringLiteral("このルートの最高得点　40 点"));
    QCOMPARE(ScoreStore(scoresPath()).latest(5).size(), std::size_t(2));
}

void TestJourneyWindow::leavingRecordsNothing()
{
    form3().List1()->setCurrentIndex(form3().routeList().index(1));
    JourneyWindow* w = start();
    QVERIFY(w);
    QTest::keyClick(w, Qt::Key_2);
    QTest::keyClick(w, Qt::Key_Return);
    QCOMPARE(w->journey()->position(), 1);
    // "旅クイズ" again brings the journey under way to the front.
    QCOMPARE(start(), w);
    QCOMPARE(w->journey()->position(), 1);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QVERIFY(!m_main->Image1()->stop().point());
    QVERIFY(ScoreStore(scoresPath()).latest(5).empty());
    // Once left, it starts afresh.
    QCOMPARE(start(), w);
    QCOMPARE(w->journey()->position(), 0);
    w->close();
    QVERIFY(ScoreStore(scoresPath()).latest(5).empty());
}

void TestJourneyWindow::journeyFollowsTheChosenRoute_data()
{
    QTest::addColumn<int>("selected");      // -1: none
    QTest::addColumn<int>("doubleClicked"); // -1: none; the list then shows the route
    QTest::addColumn<bool>("back");         // "戻る" after the double-click
    QTest::addColumn<QString>("route");     // empty: random
    QTest::newRow("nothing selected") << -1 << -1 << false << "";
    QTest::newRow("selected") << 1 << -1 << false << kRoutes[1];
    QTest::newRow("navigation list shown") << 1 << 0 << false << kRoutes[0];
    QTest::newRow("back to the list") << 1 << 0 << true << kRoutes[1];
}

void TestJourneyWindow::journeyFollowsTheChosenRoute()
{
    QFETCH(int, selected);
    QFETCH(int, doubleClicked);
    QFETCH(bool, back);
    QFETCH(QString, route);
    if (doubleClicked >= 0) {
        form3().List1()->setCurrentIndex(form3().routeList().index(doubleClicked));
        form3().List1_DblClick();
    }
    if (back)
        form3().mn1(0)->trigger();
    if (selected >= 0 && !form3().List1()->isHidden())
        form3().List1()->setCurrentIndex(form3().routeList().index(selected));
    JourneyWindow* w = start();
    QVERIFY(w);
    const JourneyPlan& plan = w->journey()->plan();
    if (!route.isEmpty()) {
        QCOMPARE(plan.route, route);
        return;
    }
    // Without a route: the towns with a quiz, each once, in a drawn order.
    QStringList towns = plan.towns;
    QCOMPARE(plan.route, QStringLiteral("ランダム-") + towns.join(QLatin1Char('-')));
    towns.sort();
    QCOMPARE(towns, (QStringList{"京都", "大津", "奈良"}));
    QCOMPARE(w->journey()->cardCount(), 3);
}

void TestJourneyWindow::unusableRecordsAreSaidOnce()
{
    {
        ScoreStore store(scoresPath());
        store.add({QDateTime::currentDateTime(), kRoutes[0], 10, 60, 1, 3, 40, 1});
    }
    QVERIFY(QFile::setPermissions(scoresPath(), QFile::ReadOwner));
    QFile file(scoresPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    JourneyWindow* w = start();
    QVERIFY(w); // the journey goes on without records
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY2(m_prompt.errors[0].contains(QStringLiteral("読み取り専用")),
             qPrintable(m_prompt.errors[0]));
    while (!w->journey()->isFinished()) {
        QTest::keyClick(w, Qt::Key_1);
        QTest::keyClick(w, Qt::Key_Return);
    }
    QCOMPARE(w->verdictLabel()->text(), QStringLiteral("記録は残りません"));
    w->close();
    QVERIFY(start());
    m_main->quiz()->recordsMenu()->trigger();
    RecordsWindow* records = m_main->quiz()->recordsWindow();
    QVERIFY(records && records->isVisible());
    QCOMPARE(records->bestTable()->model()->rowCount(), 0);
    QVERIFY(records->noteLabel()->text().contains(QStringLiteral("読み取り専用")));
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestJourneyWindow::recordsWindowShowsBestAndLatest()
{
    {
        ScoreStore store(scoresPath());
        for (int n = 0; n < 12; ++n)
            store.add({QDateTime(QDate(2024, 6, 1), QTime(8, n)), kRoutes[n % 2], n * 5, 60, n % 4,
                       3, 60 + n, quint32(n)});
    }
    m_main->quiz()->recordsMenu()->trigger();
    RecordsWindow* records = m_main->quiz()->recordsWindow();
    QVERIFY(records && records->isVisible());
    const QAbstractItemModel& best = *records->bestTable()->model();
    const QAbstractItemModel& latest = *records->latestTable()->model();
    QCOMPARE(best.rowCount(), RecordsWindow::kRows);
    QCOMPARE(best.index(0, 2).data().toString(), QStringLiteral("55 / 60 点"));
    QCOMPARE(best.index(9, 2).data().toString(), QStringLiteral("10 / 60 点"));
    QCOMPARE(latest.index(0, 0).data().toString(), QStringLiteral("2024-06-01 08:11"));
    QCOMPARE(latest.index(0, 1).data().toString(), kRoutes[1]);
    QCOMPARE(latest.index(0, 3).data().toString(), QStringLiteral("3 / 3 問"));
    QCOMPARE(latest.index(0, 4).data().toString(), QStringLiteral("1分11秒"));

    // A journey finished while the window is open shows there at once.
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    JourneyWindow* w = start();
    QVERIFY(w);
    while (!w->journey()->isFinished()) {
        if (w->journey()->current().kind == JourneyStop::Kind::Quiz)
            QTest::keyClick(w, key(w->journey()->current().correct));
        QTest::keyClick(w, Qt::Key_Return);
    }
    QCOMPARE(best.index(0, 2).data().toString(), QStringLiteral("60 / 60 点"));
    QCOMPARE(latest.index(0, 1).data().toString(), kRoutes[0]);
    QVERIFY(m_prompt.errors.isEmpty());
}

QTEST_MAIN(TestJourneyWindow)
#include "tst_journeywindow.moc"
