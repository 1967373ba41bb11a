// SPDX-License-Identifier: MIT

#include "base/twips.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "searchtestmaps.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolTip>
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
    // A town that no road from the others reaches.
    map.towns.push_back({QStringLiteral("戊"), 0.0, 0.0});
    map.roads.push_back({QStringLiteral("戊"), QStringLiteral("甲"), 5.0});
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
    void statusSaysWhyASearchFoundNothing_data();
    void statusSaysWhyASearchFoundNothing();
    void enterChoosesARouteAndCtrlCCopiesItsList();
    void theRepeatOfAHeldEnterStartsNoSearch();
    void layoutsGrowWithTheWindows_data();
    void layoutsGrowWithTheWindows();
    void columnsFitAndCutCellsShowTheirText();
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

void TestNaviWindows::statusSaysWhyASearchFoundNothing_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("status");   // after "ナビ作成"
    QTest::addColumn<QString>("shortest"); // what "最短ルート" reports
    const auto row = [](const char* tag, const char* departure, const char* destination,
                        const char* status, const char* shortest = nullptr) {
        QTest::newRow(tag) << QString::fromUtf8(departure) << QString::fromUtf8(destination)
                           << QString::fromUtf8(status)
                           << QString::fromUtf8(shortest ? shortest : status);
    };
    row("empty departure", "", "丙", "出発地を入力してください");
    row("empty destination", "甲", "", "目的地を入力してください");
    row("no town", "甲", "東京タワー", "目的地「東京タワー」という町は地図にありません");
    row("hidden town", "峠", "丙",
        "出発地「峠」は隠れた街です。ルートは町と町を結びます（「峠」は 甲－乙 の途中にあります）");
    row("same town", "乙", "乙", "出発地と目的地が同じ町「乙」です");
    row("no route at this precision", "甲", "戊",
        "「甲」から「戊」へのルートは、ナビ精度「普通」では見つかりませんでした",
        "「甲」から「戊」へのルートはありません");
}

void TestNaviWindows::statusSaysWhyASearchFoundNothing()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QString, status);
    QFETCH(QString, shortest);
    search(); // a list to clear
    QVERIFY(form3().routeList().count() > 0);
    m_prompt.questions.clear();
    form3().mn2(2)->trigger();
    form3().Text1()->setText(departure);
    form3().Text2()->setText(destination);
    m_main->menu(2)->trigger();
    QTRY_VERIFY(!m_main->searchRun()->isRunning());
    QTRY_COMPARE(form3().statusLabel()->text(), status);
    QCOMPARE(form3().statusLabel()->toolTip(), status);
    QCOMPARE(form3().routeList().count(), 0);
    QVERIFY(form3().List1()->isVisible());
    QVERIFY(m_prompt.messages.isEmpty() && m_prompt.errors.isEmpty());
    QVERIFY(m_prompt.questions.isEmpty());
    QCOMPARE(m_main->windowTitle(), QStringLiteral("!モラベルト"));

    // The next search clears the line.
    form3().Text1()->setText(QStringLiteral("甲"));
    form3().Text2()->setText(QStringLiteral("丙"));
    search();
    QCOMPARE(form3().statusLabel()->text(), QString());

    // "最短ルート" says the same in its box.
    form3().Text1()->setText(departure);
    form3().Text2()->setText(destination);
    m_main->shortestMenu()->trigger();
    QTRY_COMPARE(m_prompt.errors, QStringList{shortest});
}

void TestNaviWindows::enterChoosesARouteAndCtrlCCopiesItsList()
{
    search();
    QListView* list = form3().List1();
    QTableView* grid = form3().MSFlexGrid1();
    QLabel* summary = form3().summaryLabel();
    list->setCurrentIndex(form3().routeList().index(0));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QVERIFY(grid->isVisible());
    QCOMPARE(form3().naviGrid().rows(), 5);
    QVERIFY(summary->isVisible());
    QCOMPARE(summary->text(), QStringLiteral("合計 30 km・2 区間"));

    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("甲\t→\t乙\t10 km \t\t\r\n\t峠\t霧の中で茶屋を見つけた\t(4 km)\t\t\r\n"
                            "乙\t→\t丙\t20 km \t\t\r\n丙\t\t\t\t\t\r\n"));
    QCOMPARE(form3().statusLabel()->text(), QStringLiteral("ナビリストをコピーしました"));
    QVERIFY(m_prompt.messages.isEmpty());

    // Back to the routes the total goes with the navigation list; the keypad's Enter chooses
    // as well, and a repeat of a held Enter chooses nothing more.
    form3().mn1(0)->trigger();
    QVERIFY(list->isVisible());
    QVERIFY(!summary->isVisible());
    list->setCurrentIndex(form3().routeList().index(1));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(list, &repeat);
    QVERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!list->isVisible());
    QCOMPARE(form3().naviGrid().rows(), 3);
    QCOMPARE(summary->text(), QStringLiteral("合計 50 km・1 区間"));
}

void TestNaviWindows::theRepeatOfAHeldEnterStartsNoSearch()
{
    QLineEdit* box = form3().Text2();
    QSignalSpy started(m_main->searchRun(), &NaviSearchRun::started);
    QSignalSpy done(m_main->searchRun(), &NaviSearchRun::finished);
    const auto repeatEnter = [box] {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QApplication::sendEvent(box, &repeat);
    };
    // The key held down: its repeats answer the question, and one lands in the box after the
    // last answer, once the search has ended.
    m_prompt.whileAsking = repeatEnter;
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(done.wait(10000));
    repeatEnter();
    QTest::qWait(50);
    QCOMPARE(started.size(), 1);
    QVERIFY(!m_main->searchRun()->isRunning());
    QCOMPARE(form3().routeList().count(), 2);

    // A fresh press searches again.
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(started.size(), 2);
    QVERIFY(done.wait(10000));
}

void TestNaviWindows::layoutsGrowWithTheWindows_data()
{
    QTest::addColumn<QSize>("change");
    QTest::newRow("design size") << QSize(0, 0);
    QTest::newRow("larger") << QSize(400, 300);
    QTest::newRow("wider only") << QSize(250, 0);
    QTest::newRow("smaller") << QSize(-60, -40);
}

void TestNaviWindows::layoutsGrowWithTheWindows()
{
    QFETCH(QSize, change);
    const auto px = [](int twips) { return Twips::toPixels(float(twips)); };
    Form2& info = m_main->info();
    QWidget* naviClient = form3().centralWidget();
    const QSize infoDesign(px(5745), px(3435));
    const QSize naviDesign(px(5745), px(4605));
    QCOMPARE(info.size(), infoDesign);
    QCOMPARE(naviClient->size(), naviDesign);
    info.resize(info.size() + change);
    form3().resize(form3().size() + change);
    QTRY_COMPARE(info.size(), infoDesign + change);
    QTRY_COMPARE(naviClient->size(), naviDesign + change);

    // The information window: both controls keep the margins to the window's edges and the
    // gap between them as designed, and share the height as they do at design.
    const auto rect = [&px](int left, int top, int width, int height) {
        return QRect(px(left), px(top), px(width), px(height));
    };
    const auto gaps = [](const QRect& outer, const QRect& inner) {
        return QMargins(inner.x(), inner.y(), outer.width() - inner.x() - inner.width(),
                        outer.height() - inner.y() - inner.height());
    };
    const QRect infoClient(QPoint(0, 0), infoDesign);
    const QRect grid = info.DataGrid2()->geometry();
    const QRect text = info.Text1()->geometry();
    const QRect gridDesign = rect(60, 60, 5595, 1695);
    const QRect textDesign = rect(60, 1860, 5595, 1515);
    QCOMPARE(grid.topLeft(), gridDesign.topLeft());
    QCOMPARE(gaps(info.rect(), grid).right(), gaps(infoClient, gridDesign).right());
    const QMargins textGaps = gaps(info.rect(), text);
    const QMargins textDesignGaps = gaps(infoClient, textDesign);
    QCOMPARE(textGaps.left(), textDesignGaps.left());
    QCOMPARE(textGaps.right(), textDesignGaps.right());
    QCOMPARE(textGaps.bottom(), textDesignGaps.bottom());
    QCOMPARE(text.y() - grid.y() - grid.height(),
             textDesign.y() - gridDesign.y() - gridDesign.height());
    const int gridGrowth = grid.height() - px(1695);
    const int textGrowth = text.height() - px(1515);
    QCOMPARE(gridGrowth + textGrowth, change.height());
    QVERIFY(std::abs(gridGrowth - textGrowth) <= std::abs(change.height()) / 5 + 1);

    // The navi list window: the boxes stay where they are designed, the lists take the rest.
    const QRect fixed[] = {rect(120, 120, 540, 180), rect(720, 60, 1275, 315),
                           rect(2220, 120, 540, 180), rect(2820, 60, 1275, 315)};
    const QWidget* controls[] = {
        naviClient->findChild<QLabel*>(QStringLiteral("Label1")), form3().Text1(),
        naviClient->findChild<QLabel*>(QStringLiteral("Label2")), form3().Text2()};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(controls[i]->geometry(), fixed[i]);
    for (const auto& [widget, design] :
         {std::pair<QWidget*, QRect>{form3().List1(), rect(60, 480, 5595, 4020)},
          {form3().MSFlexGrid1(), rect(60, 480, 5595, 4035)}}) {
        QCOMPARE(widget->geometry().topLeft(), design.topLeft());
        QCOMPARE(gaps(naviClient->rect(), widget->geometry()),
                 gaps(QRect(QPoint(0, 0), naviDesign), design));
    }
}

void TestNaviWindows::columnsFitAndCutCellsShowTheirText()
{
    search();
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    form3().List1_DblClick();
    QTableView* grid = form3().MSFlexGrid1();
    const QModelIndex event = form3().naviGrid().index(1, 2); // 峠's event, in view row 1
    const QModelIndex town = form3().naviGrid().index(0, 0);
    const auto tipOver = [grid](const QModelIndex& cell) {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("a tooltip that stays");
        const QPoint at = grid->visualRect(cell).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const auto columnsWidth = [grid] {
        int total = 0;
        for (int c = 0; c < 5; ++c)
            total += grid->columnWidth(c);
        return total;
    };
    const int designWidths[] = {900, 900, 1440, 780, 1500};

    // A narrow window cuts the event, which then shows whole as the tooltip.
    form3().resize(form3().size() - QSize(100, 0));
    QTRY_COMPARE(grid->width(), Twips::toPixels(5595) - 100);
    QCOMPARE(tipOver(event), QStringLiteral("霧の中で茶屋を見つけた"));
    QCOMPARE(tipOver(town), QString());

    // A wide one shows every text whole, the columns within the grid, none below its design.
    form3().resize(form3().size() + QSize(600, 0));
    QTRY_COMPARE(grid->width(), Twips::toPixels(5595) + 500);
    QCOMPARE(tipOver(event), QString());
    QVERIFY(columnsWidth() <= grid->viewport()->width());
    for (int c = 0; c < 5; ++c)
        QVERIFY(grid->columnWidth(c) >= Twips::toPixels(float(designWidths[c])));
    QVERIFY(grid->columnWidth(2) > Twips::toPixels(1440));
}

QTEST_MAIN(TestNaviWindows)
#include "tst_naviwindows.moc"
