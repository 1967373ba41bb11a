// SPDX-License-Identifier: MIT

#include "navilist/flexgridmodel.h"
#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "searchtestmaps.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form3.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

TestMap triangleMap()
{
    TestMap map;
    for (const char* town : {"甲", "乙", "丙"})
        map.towns.push_back({QString::fromUtf8(town), 0.0, 0.0});
    map.road(QStringLiteral("甲"), QStringLiteral("乙"), 10);
    map.road(QStringLiteral("乙"), QStringLiteral("丙"), 20);
    map.road(QStringLiteral("甲"), QStringLiteral("丙"), 50);
    map.hidden = {{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("峠"), 4.0}};
    map.events = {{QStringLiteral("峠"), QStringLiteral("霧の中で茶屋を見つけた")}};
    for (const char* town : {"甲", "乙", "丙"})
        map.quizzes.push_back(
            {QString::fromUtf8(town), QStringLiteral("?"), QStringLiteral("不正：x"),
             QStringLiteral("正解：") + QString::fromUtf8(town), QStringLiteral("不正：y"), 10});
    return map;
}

} // namespace

class TestNaviWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void searchListsRoutesByDistanceAndAsksOnce();
    void secondSearchWhileRunningIsIgnored();
    void doubleClickBuildsTheNavigationList();
    void popupCopiesAndGoesBack();
    void doubleClickAnywhereInTheListActsOnTheSelection_data();
    void doubleClickAnywhereInTheListActsOnTheSelection();
    void rightClickOnTheFixedRowOpensThePopup();
    void failingCommandsAreReportedAndTheGameGoesOn();
    void destroyingTheWindowsMidSearchWithoutTheExitSequence();
    // Last: the exit sequence ends the event loops, and only QTest::qWait runs events after it.
    void closingWhileTheQuestionIsOpenEndsTheSearch();
    void closingDuringASearchEndsCleanly();

private:
    void openWindows();
    void search();
    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    TestPrompt m_prompt;
    Form1* m_main = nullptr;
};

void TestNaviWindows::init()
{
    m_db = std::make_unique<TestMapDb>(triangleMap());
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg")));
    m_prompt = TestPrompt();
    openWindows();
}

void TestNaviWindows::openWindows()
{
    m_main =
        new Form1({m_db->folder(), m_current.filePath(QStringLiteral("Moravelt.ini")), &m_prompt});
    m_main->load();
    m_main->show();
    // At a first start the navi list window appears once the main window is framed.
    QTRY_VERIFY(form3().isVisible());
    form3().Text1()->setText(QStringLiteral("甲"));
    form3().Text2()->setText(QStringLiteral("丙"));
}

void TestNaviWindows::cleanup()
{
    destroyWindows();
}

void TestNaviWindows::search()
{
    QSignalSpy done(m_main->searchRun(), &NaviSearchRun::finished);
    m_main->menu(2)->trigger();
    QVERIFY(!m_main->menu(2)->isEnabled());
    QVERIFY(done.wait(10000));
}

void TestNaviWindows::searchListsRoutesByDistanceAndAsksOnce()
{
    search();
    QCOMPARE(m_prompt.questions,
             QStringList{QStringLiteral("目的地へのルートを発見しました\r\nまだ検索しますか？")});
    QCOMPARE(form3().routeList().count(), 2);
    QCOMPARE(form3().routeList().text(0), QStringLiteral("00030-甲-乙-丙"));
    QCOMPARE(form3().routeList().text(1), QStringLiteral("00050-甲-丙"));
    QCOMPARE(m_main->windowTitle(), QStringLiteral("!モラベルト"));
    QVERIFY(m_main->menu(2)->isEnabled());
    QVERIFY(form3().List1()->isVisible());
}

void TestNaviWindows::secondSearchWhileRunningIsIgnored()
{
    QSignalSpy done(m_main->searchRun(), &NaviSearchRun::finished);
    m_main->MoraveltNavi();
    m_main->MoraveltNavi();
    QVERIFY(done.wait(10000));
    QTest::qWait(50);
    QCOMPARE(done.size(), 1);
    QCOMPARE(form3().routeList().count(), 2);
}

void TestNaviWindows::doubleClickBuildsTheNavigationList()
{
    search();
    form3().List1_DblClick(); // nothing chosen yet
    QVERIFY(form3().List1()->isVisible());
    m_main->mn0(0)->setChecked(true);
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    form3().List1_DblClick();
    QVERIFY(!form3().List1()->isVisible());
    QVERIFY(form3().MSFlexGrid1()->isVisible());
    const FlexGridModel& grid = form3().naviGrid();
    QCOMPARE(grid.rows(), 5);
    const QStringList expected[] = {{"甲", "→", "乙", "10 km ", "甲"},
                                    {"", "峠", "霧の中で茶屋を見つけた", "(4 km)", ""},
                                    {"乙", "→", "丙", "20 km ", "乙"},
                                    {"丙", "", "", "", "丙"}};
    for (int r = 1; r <= 4; ++r)
        for (int c = 0; c < 5; ++c)
            QCOMPARE(grid.textMatrix(r, c), expected[r - 1][c]);
}

void TestNaviWindows::popupCopiesAndGoesBack()
{
    search();
    form3().List1()->setCurrentIndex(form3().routeList().index(1));
    form3().List1_DblClick();
    QWidget* viewport = form3().MSFlexGrid1()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!form3().gridPopup()->isVisible());
    QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(10, 10));
    QVERIFY(form3().gridPopup()->isVisible());
    form3().gridPopup()->hide();
    form3().mn1(2)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("甲\t→\t丙\t50 km \t\t\r\n丙\t\t\t\t\t\r\n"));
    QCOMPARE(m_prompt.messages, QStringList{QStringLiteral("ナビリストをコピーしました")});
    form3().mn1(0)->trigger();
    QVERIFY(form3().List1()->isVisible());
    QCOMPARE(form3().naviGrid().rows(), 3);
}

void TestNaviWindows::destroyingTheWindowsMidSearchWithoutTheExitSequence()
{
    // The runner, the route overlay and the map lookup refer to the session and the navi
    // list window; deleting the main window must take them first (ASan sees any use after
    // free), whether the worker is still walking or its step is queued for handling.
    for (const int waitMs : {0, 20}) {
        m_main->menu(2)->trigger();
        QVERIFY(m_main->searchRun()->isRunning());
        QTest::qWait(waitMs);
        QPointer<Form3> navi = &form3();
        destroyWindows();
        QVERIFY(!windowsExist());
        QVERIFY(navi.isNull());
        QTest::qWait(50);
        QVERIFY(m_prompt.errors.isEmpty());
        init();
    }
}

void TestNaviWindows::closingDuringASearchEndsCleanly()
{
    m_main->menu(2)->trigger();
    QVERIFY(m_main->searchRun()->isRunning());
    m_main->close();
    QVERIFY(QFile::exists(m_current.filePath(QStringLiteral("Moravelt.ini"))));
    QVERIFY(m_main->searchRun() == nullptr);
    QTest::qWait(50);
}

void TestNaviWindows::closingWhileTheQuestionIsOpenEndsTheSearch()
{
    // A town beyond 丙: its first route has two legs, so a search that went on after the
    // question would show its progress caption first.
    destroyWindows();
    QVERIFY(alterMap(*m_db, QStringLiteral("INSERT INTO tbl_距離 VALUES "
                                           "('丙', '丁', 5), ('丁', '丙', 5)")));
    const QString settings = m_current.filePath(QStringLiteral("Moravelt.ini"));
    QFile::remove(settings);
    openWindows();
    form3().Text2()->setText(QStringLiteral("丁"));
    QPointer<NaviSearchRun> runner = m_main->searchRun();
    QSignalSpy captions(runner.data(), &NaviSearchRun::captionChanged);
    QSignalSpy finished(runner.data(), &NaviSearchRun::finished);
    // The player closes the main window while the question is open, and the box returns Yes.
    m_prompt.whileAsking = [this] { m_main->close(); };
    m_main->menu(2)->trigger();
    QTRY_VERIFY(runner.isNull());
    QTest::qWait(50);
    QCOMPARE(m_prompt.questions.size(), 1);
    QCOMPARE(captions.size(), 0);
    QCOMPARE(finished.size(), 0);
    QVERIFY(m_main->searchRun() == nullptr);
    QCOMPARE(form3().routeList().count(), 1);
    QVERIFY(QFile::exists(settings));
    QVERIFY(m_prompt.errors.isEmpty());
}

void TestNaviWindows::doubleClickAnywhereInTheListActsOnTheSelection_data()
{
    QTest::addColumn<bool>("searched");
    QTest::addColumn<int>("selected"); // -1 for none
    QTest::addColumn<bool>("onTheEntry");
    QTest::addColumn<int>("gridRows"); // 0 when nothing is built
    QTest::newRow("blank part, entry selected") << true << 1 << false << 3;
    QTest::newRow("on the entry") << true << 0 << true << 5;
    QTest::newRow("blank part, nothing selected") << true << -1 << false << 0;
    QTest::newRow("empty list") << false << -1 << false << 0;
}

void TestNaviWindows::doubleClickAnywhereInTheListActsOnTheSelection()
{
    QFETCH(bool, searched);
    QFETCH(int, selected);
    QFETCH(bool, onTheEntry);
    QFETCH(int, gridRows);
    if (searched)
        search();
    QListView* list = form3().List1();
    if (selected >= 0)
        list->setCurrentIndex(form3().routeList().index(selected));
    const QPoint where = onTheEntry ? list->visualRect(list->currentIndex()).center()
                                    : QPoint(20, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(where).isValid() || onTheEntry);
    // As the window system delivers a double-click: a click, then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(list->isVisible(), gridRows == 0);
    if (gridRows > 0) {
        QCOMPARE(form3().naviGrid().rows(), gridRows);
        QCOMPARE(form3().naviGrid().textMatrix(1, 0), QStringLiteral("甲"));
    }
    QVERIFY(m_prompt.errors.isEmpty());
}

void TestNaviWindows::rightClickOnTheFixedRowOpensThePopup()
{
    search();
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    form3().List1_DblClick();
    QHeaderView* fixedRow = form3().MSFlexGrid1()->horizontalHeader();
    QVERIFY(fixedRow->isVisible());
    QTest::mousePress(fixedRow->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    QVERIFY(!form3().gridPopup()->isVisible());
    QTest::mousePress(fixedRow->viewport(), Qt::RightButton, {}, QPoint(10, 5));
    QVERIFY(form3().gridPopup()->isVisible());
    form3().gridPopup()->hide();
}

void TestNaviWindows::failingCommandsAreReportedAndTheGameGoesOn()
{
    // A route string that names no town: the double-click reports it, the grid stays usable.
    form3().routeList().addRoutes({QStringLiteral("00000")});
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    form3().List1_DblClick();
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY(m_prompt.errors.last().contains(QStringLiteral("00000")));
    QVERIFY(form3().MSFlexGrid1()->isVisible());

    // Roads that cannot be read: "ナビ作成" reports it at every try and stays available.
    // The game reads them once, so they are broken before it starts.
    destroyWindows();
    QVERIFY(alterMap(*m_db, QStringLiteral("ALTER TABLE tbl_距離 RENAME TO roads")));
    QVERIFY(alterMap(*m_db, QStringLiteral("CREATE VIEW tbl_距離 AS SELECT * FROM roads "
                                           "WHERE abs(-9223372036854775808) > 0")));
    m_main =
        new Form1({m_db->folder(), m_current.filePath(QStringLiteral("Moravelt.ini")), &m_prompt});
    m_main->load();
    form3().Text1()->setText(QStringLiteral("甲"));
    form3().Text2()->setText(QStringLiteral("丙"));
    for (int tries = 2; tries <= 3; ++tries) {
        // The roads are read on a worker, so the report comes a moment later.
        m_main->menu(2)->trigger();
        QTRY_COMPARE(m_prompt.errors.size(), tries);
        QTRY_VERIFY(!m_main->searchRun()->isRunning());
        QVERIFY(m_main->menu(2)->isEnabled());
        QCOMPARE(m_main->windowTitle(), QStringLiteral("!モラベルト"));
    }
    QVERIFY2(m_prompt.errors.last().contains(QStringLiteral("問い合わせ")),
             qPrintable(m_prompt.errors.last()));
}

QTEST_MAIN(TestNaviWindows)
#include "tst_naviwindows.moc"
