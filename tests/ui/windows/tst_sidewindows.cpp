// SPDX-License-Identifier: MIT

#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "settings/extrasettings.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/firststartplaces.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/framedplace.h"
#include "windows/mapcommands.h"
#include "windows/windowmenu.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

TestMap twoTowns()
{
    TestMap map;
    map.towns = {{QStringLiteral("甲"), 0.0, 0.0}, {QStringLiteral("乙"), 10.0, 0.0}};
    map.road(QStringLiteral("甲"), QStringLiteral("乙"), 10);
    return map;
}

// Places a former session stored, well inside the headless screen.
const SaveData kStored{.Frm1Left = 1500,
                       .Frm1Top = 1500,
                       .Frm1Width = 6000,
                       .Frm1Height = 6000,
                       .Frm2Left = 15 * 420,
                       .Frm2Top = 1500,
                       .Frm2Width = 4500,
                       .Frm2Height = 3000,
                       .Frm3Left = 15 * 420,
                       .Frm3Top = 15 * 310,
                       .Frm3Width = 4500,
                       .Frm3Height = 3600,
                       .DepartText = QStringLiteral("甲"),
                       .DestText = QStringLiteral("乙"),
                       .SeidoLevel = 2};

QWidget& side(const QString& name)
{
    return name == QLatin1String("info") ? static_cast<QWidget&>(form2())
                                         : static_cast<QWidget&>(form3());
}

} // namespace

class TestSideWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartShowsTheOthersOnceTheGroupIsPlaced();
    void closedWindowComesBackFromTheMenu_data();
    void closedWindowComesBackFromTheMenu();
    void closedWindowComesBackByItsKey_data();
    void closedWindowComesBackByItsKey();
    void searchesShowTheNaviListWindow_data();
    void searchesShowTheNaviListWindow();
    void maximisedStatesComeBackAndThePlacesStay();

private:
    Form1* start()
    {
        auto* main = new Form1({.programFolder = m_db->folder(),
                                .settingsPath = settingsPath(),
                                .prompt = &m_prompt,
                                .extraSettingsPath = confPath()});
        main->load();
        main->show();
        return main;
    }
    QString settingsPath() const { return m_current.filePath(QStringLiteral("Moravelt.ini")); }
    QString confPath() const { return m_current.filePath(QStringLiteral("moravelt.conf")); }
    QByteArray settingsBytes() const
    {
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    TestPrompt m_prompt;
};

void TestSideWindows::init()
{
    m_db = std::make_unique<TestMapDb>(twoTowns());
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg")));
    QFile::remove(confPath());
    SettingsFile::write(settingsPath(), kStored);
    m_prompt = TestPrompt();
}

void TestSideWindows::cleanup()
{
    destroyWindows();
}

void TestSideWindows::firstStartShowsTheOthersOnceTheGroupIsPlaced()
{
    QFile::remove(settingsPath());
    Form1* main = start();
    FirstStartPlaces* placing = main->windowSettings().firstStart();
    QVERIFY(placing);
    // Not before the main window is framed: nothing is seen at a place it leaves.
    QVERIFY(!placing->isDone());
    QVERIFY(!form2().isVisible() && !form3().isVisible());
    QTRY_VERIFY(placing->isDone());
    QVERIFY(FramedPlace::of(*main).isFramed());
    QVERIFY(form2().isVisible() && form3().isVisible());
    QCoreApplication::processEvents();

    // The headless screen (800 x 600) is too small for the group both ways: the main window's
    // top-left goes to the work area's, and the two others stay beside it.
    const QRect area = main->screen()->availableGeometry();
    const QRect m = FramedPlace::of(*main).frame();
    const QRect info = FramedPlace::of(form2()).frame();
    const QRect navi = FramedPlace::of(form3()).frame();
    QCOMPARE(m.topLeft(), area.topLeft());
    QCOMPARE(info.topLeft(), QPoint(m.x() + m.width(), m.y()));
    QCOMPARE(navi.topLeft(), QPoint(m.x() + m.width(), m.y() + info.height()));
    // Frames as the window system drew them: the client areas lie inside.
    QCOMPARE(form2().frameGeometry(), info);
    QCOMPARE(form3().frameGeometry(), navi);
}

void TestSideWindows::closedWindowComesBackFromTheMenu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("item");
    QTest::newRow("情報") << QStringLiteral("info") << 0;
    QTest::newRow("ナビリスト") << QStringLiteral("navi") << 1;
}

void TestSideWindows::closedWindowComesBackFromTheMenu()
{
    QFETCH(QString, name);
    QFETCH(int, item);
    Form1* main = start();
    QWidget& window = side(name);
    QTRY_VERIFY(window.isVisible());

    // The menu is the menu bar's last entry, after every specified one.
    WindowMenu* menu = main->windowMenu();
    QVERIFY(menu);
    QCOMPARE(main->menuBar()->actions().last(), menu->menu()->menuAction());
    QCOMPARE(menu->menu()->title(), QStringLiteral("ウィンドウ"));
    QAction* entry = menu->menu()->actions().at(item);
    QCOMPARE(entry->text(),
             name == QLatin1String("info") ? QStringLiteral("情報") : QStringLiteral("ナビリスト"));

    window.close();
    QVERIFY(!window.isVisible());
    QVERIFY(main->isVisible());
    const QRect closedAt = FramedPlace::of(window).frame();
    entry->trigger();
    QVERIFY(window.isVisible());
    QCOMPARE(FramedPlace::of(window).frame(), closedAt);
    // Shown again, it is loaded again: the exit stores where the player then put it.
    FramedPlace::of(window).setTop(closedAt.y() + 20);
    main->runExitSequence();
    const std::optional<SaveData> saved = SettingsFile::read(settingsPath());
    QVERIFY(saved.has_value());
    const std::int32_t top = name == QLatin1String("info") ? saved->Frm2Top : saved->Frm3Top;
    QCOMPARE(top, (closedAt.y() + 20) * 15);
}

void TestSideWindows::closedWindowComesBackByItsKey_data()
{
    closedWindowComesBackFromTheMenu_data();
}

void TestSideWindows::closedWindowComesBackByItsKey()
{
    QFETCH(QString, name);
    QFETCH(int, item);
    Form1* main = start();
    QWidget& window = side(name);
    QTRY_VERIFY(window.isVisible());
    // A narrow main window hides "ウィンドウ" behind the overflow button: "表示" has the same
    // entries, and Ctrl+1 / Ctrl+2 work from whichever window has the keyboard.
    QAction* entry = main->windowMenu()->menu()->actions().at(item);
    QVERIFY(main->mapCommands().viewMenu()->actions().contains(entry));
    window.close();
    QWidget& other =
        side(name == QLatin1String("info") ? QStringLiteral("navi") : QStringLiteral("info"));
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    QTest::keyClick(&other, item == 0 ? Qt::Key_1 : Qt::Key_2, Qt::ControlModifier);
    QTRY_VERIFY(window.isVisible());
}

void TestSideWindows::searchesShowTheNaviListWindow_data()
{
    QTest::addColumn<bool>("shortest");
    QTest::newRow("ナビ作成") << false;
    QTest::newRow("最短ルート") << true;
}

void TestSideWindows::searchesShowTheNaviListWindow()
{
    QFETCH(bool, shortest);
    Form1* main = start();
    QTRY_VERIFY(form3().isVisible());
    form3().close();
    QVERIFY(!form3().isVisible());
    if (shortest) {
        main->shortestMenu()->trigger();
        QTRY_VERIFY(main->shortestMenu()->isEnabled()); // it runs on a worker
    } else {
        main->menu(2)->trigger();
        QTRY_VERIFY(!main->searchRun()->isRunning());
    }
    QVERIFY(form3().isVisible());
    QVERIFY(form3().isLoaded());
    QCOMPARE(form3().routeList().rowCount(), 1);
}

void TestSideWindows::maximisedStatesComeBackAndThePlacesStay()
{
    Form1* main = start();
    QTRY_VERIFY(form3().isVisible() && FramedPlace::of(form3()).isFramed());
    for (QWidget* window : {static_cast<QWidget*>(main), static_cast<QWidget*>(&form3())})
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    QTRY_VERIFY(main->isMaximized() && form3().isMaximized());
    QTRY_VERIFY2(main->geometry().width() > 6000 / 15, // really grown
                 qPrintable(QStringLiteral("%1").arg(main->geometry().width())));
    main->runExitSequence();
    // The file holds the places the windows are restored to, as they were read.
    std::optional<SaveData> saved = SettingsFile::read(settingsPath());
    QVERIFY(saved.has_value());
    QCOMPARE(*saved, kStored);
    const QByteArray first = settingsBytes();
    const ExtraSettings kept(confPath());
    QCOMPARE(kept.value(QStringLiteral("windows/mainMaximized")), QVariant(true));
    QCOMPARE(kept.value(QStringLiteral("windows/infoMaximized")), QVariant(false));
    QCOMPARE(kept.value(QStringLiteral("windows/naviMaximized")), QVariant(true));
    destroyWindows();

    main = start();
    QVERIFY(main->isMaximized());
    QVERIFY(!form2().isMaximized());
    QVERIFY(form3().isMaximized());
    QTRY_VERIFY(form3().isVisible() && FramedPlace::of(form3()).isFramed());
    // What each is restored to is its stored place (the window manager restores it there).
    QCOMPARE(FramedPlace::of(*main).frame(), QRect(100, 100, 400, 400));
    QCOMPARE(FramedPlace::of(form3()).frame(), QRect(420, 310, 300, 240));
    main->runExitSequence();
    QCOMPARE(settingsBytes(), first);
    QCOMPARE(ExtraSettings(confPath()).value(QStringLiteral("windows/mainMaximized")),
             QVariant(true));
}

QTEST_MAIN(TestSideWindows)
#include "tst_sidewindows.moc"
