// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "base/twips.h"
#include "mapview/mapimage.h"
#include "settings/savedatacodec.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/framedplace.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// A program folder with a tiny map database and picture, and a separate current directory.
struct GameFolders
{
    GameFolders()
    {
        TestMap map;
        map.towns.push_back({QStringLiteral("東京"), 300.0, 300.0});
        db = std::make_unique<TestMapDb>(map);
        // Large enough that the first start's offset shows map, which a stored one must.
        QImage picture(1600, 1600, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        picture.save(db->folder() + QStringLiteral("map.jpg"));
    }
    QString settingsPath() const { return current.filePath(QStringLiteral("Moravelt.ini")); }
    QByteArray settingsBytes() const
    {
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::unique_ptr<TestMapDb> db;
    QTemporaryDir current;
};

int checkedLevel()
{
    int found = -1;
    for (int i = 0; i < 5; ++i) {
        if (form3().mn2(i)->isChecked()) {
            if (found >= 0)
                return -2; // more than one
            found = i;
        }
    }
    return found;
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void firstStartPlacesWindowsBesideTheMain();
    void restoredStartAppliesEveryField();
    void offScreenCornersComeBack();
    void startExitStartExitWritesTheSameFile();
    void precisionMenuKeepsOneCheck();
    void exitWritesSettingsWhenAStepFails();
    void closedNaviWindowKeepsWhatItStored();
    void startUpFailureNamesTheFileAndWritesNothing_data();
    void startUpFailureNamesTheFileAndWritesNothing();
    void menusAreComposedAsDesigned();
    void firstStartLeavesTheMainWindowToTheSystem();
    void placeAskedForHoldsUntilFramedThenThePlayerDecides();
    void hugeStoredPositionsComeBack_data();
    void hugeStoredPositionsComeBack();
    void failedSaveIsSaidOnceAndTheOldFileStays();

private:
    Form1* start(const GameFolders& folders, bool placedBySystem = true)
    {
        auto* main = new Form1({folders.db->folder(), folders.settingsPath(), &m_prompt});
        if (placedBySystem)
            main->move(30, 45); // where a window manager might have put it
        main->load();
        main->show();
        QCoreApplication::processEvents();
        // At a first start the two others appear once the main window is framed; the tests
        // that depend on it check it.
        [[maybe_unused]] const bool shown =
            QTest::qWaitFor([] { return form2().isVisible() && form3().isVisible(); });
        return main;
    }
    TestPrompt m_prompt;
};

void TestWindows::cleanup()
{
    destroyWindows();
    m_prompt = TestPrompt();
}

void TestWindows::firstStartPlacesWindowsBesideTheMain()
{
    GameFolders folders;
    Form1* main = start(folders);
    QCOMPARE(main->Image1()->leftTwips(), -16590.0f);
    QCOMPARE(main->Image1()->topTwips(), -17805.0f);
    const TwipsRect m = WindowGeometry::get(*main);
    const TwipsRect info = WindowGeometry::get(form2());
    const TwipsRect navi = WindowGeometry::get(form3());
    // The headless platform shifts a frame by its 2-pixel border when it first shows it.
    auto near = [](float a, float b) { return std::abs(a - b) <= 30.0f; };
    QVERIFY(near(info.top, m.top));
    QVERIFY(near(info.left, m.left + m.width));
    QCOMPARE(navi.left, info.left);
    QVERIFY(near(navi.top, m.top + info.height));
    QCOMPARE(checkedLevel(), 1);
    QCOMPARE(main->saveData().SeidoLevel, qint16(1));
    QVERIFY(!main->mn0(0)->isChecked());
    QVERIFY(form3().Text1()->text().isEmpty());
    QVERIFY(form3().Text2()->text().isEmpty());
    QVERIFY(form2().isVisible() && form3().isVisible());
    QCOMPARE(form2().windowTitle(), QStringLiteral("モラベルト 情報"));
    QCOMPARE(main->windowTitle(), QStringLiteral("!モラベルト"));

    main->runExitSequence();
    const std::optional<SaveData> saved = SettingsFile::read(folders.settingsPath());
    QVERIFY(saved.has_value());
    QCOMPARE(saved->ImgLeft, -16590);
    QCOMPARE(saved->Frm2Left, qint32(info.left));
    QCOMPARE(saved->SeidoLevel, qint16(1));
    QCOMPARE(folders.settingsBytes().size(), 64);
}

void TestWindows::restoredStartAppliesEveryField()
{
    GameFolders folders;
    const SaveData d{.ImgLeft = -1500,
                     .ImgTop = -3000,
                     .Frm1Left = 150,
                     .Frm1Top = 300,
                     .Frm1Width = 6000,
                     .Frm1Height = 7500,
                     .Frm2Left = 6300,
                     .Frm2Top = 300,
                     .Frm2Width = 4500,
                     .Frm2Height = 3000,
                     .AnsCheck = 5, // any non-zero value means checked
                     .Frm3Left = 6300,
                     .Frm3Top = 3450,
                     .Frm3Width = 4800,
                     .Frm3Height = 4500,
                     .DepartText = QStringLiteral("大津"),
                     .DestText = QStringLiteral("津"),
                     .SeidoLevel = 3};
    SettingsFile::write(folders.settingsPath(), d);

    Form1* main = start(folders);
    QCOMPARE(main->Image1()->leftTwips(), -1500.0f);
    QCOMPARE(main->Image1()->topTwips(), -3000.0f);
    const TwipsRect m = WindowGeometry::get(*main);
    QCOMPARE(m.left, 150.0f);
    QCOMPARE(m.top, 300.0f);
    QCOMPARE(m.width, 6000.0f);
    QCOMPARE(m.height, 7500.0f);
    const TwipsRect navi = WindowGeometry::get(form3());
    QCOMPARE(navi.left, 6300.0f);
    QCOMPARE(navi.top, 3450.0f);
    QCOMPARE(navi.width, 4800.0f);
    QVERIFY(main->mn0(0)->isChecked());
    QCOMPARE(form3().Text1()->text(), QStringLiteral("大津"));
    QCOMPARE(form3().Text2()->text(), QStringLiteral("津"));
    QCOMPARE(checkedLevel(), 3);

    main->runExitSequence();
    SaveData expected = d;
    expected.AnsCheck = -1;
    QCOMPARE(SettingsFile::read(folders.settingsPath()), std::optional<SaveData>(expected));
}

void TestWindows::offScreenCornersComeBack()
{
    GameFolders folders;
    const SaveData d{.Frm1Left = -15,
                     .Frm1Top = 300,
                     .Frm1Width = 6000,
                     .Frm1Height = 6000,
                     .Frm2Left = 150,
                     .Frm2Top = 15 * 100000, // far below any screen
                     .Frm2Width = 3000,
                     .Frm2Height = 3000,
                     .Frm3Left = 300,
                     .Frm3Top = 300,
                     .Frm3Width = 3000,
                     .Frm3Height = 3000,
                     .SeidoLevel = 0};
    SettingsFile::write(folders.settingsPath(), d);
    Form1* main = start(folders);
    QCOMPARE(WindowGeometry::get(*main).left, 0.0f);
    QCOMPARE(WindowGeometry::get(*main).top, 300.0f);
    QCOMPARE(WindowGeometry::get(form2()).top, 0.0f);
    QCOMPARE(WindowGeometry::get(form2()).left, 150.0f);
    QCOMPARE(WindowGeometry::get(form3()).left, 300.0f);
}

void TestWindows::startExitStartExitWritesTheSameFile()
{
    GameFolders folders;
    start(folders)->runExitSequence();
    destroyWindows();
    const QByteArray first = folders.settingsBytes();
    QVERIFY(!first.isEmpty());
    start(folders)->runExitSequence();
    destroyWindows();
    QCOMPARE(folders.settingsBytes(), first);
    start(folders)->runExitSequence();
    QCOMPARE(folders.settingsBytes(), first);
}

void TestWindows::precisionMenuKeepsOneCheck()
{
    GameFolders folders;
    Form1* main = start(folders);
    form3().mn2(3)->trigger();
    form3().mn2(2)->trigger();
    QCOMPARE(checkedLevel(), 2);
    QCOMPARE(main->saveData().SeidoLevel, qint16(2));
    QVERIFY_THROWS_EXCEPTION(MoraveltError, form3().SeidoCheck(5));
    QCOMPARE(checkedLevel(), -1);
    QCOMPARE(main->saveData().SeidoLevel, qint16(2));
    main->runExitSequence();
    const QByteArray bytes = folders.settingsBytes();
    QCOMPARE(bytes.right(2), QByteArray::fromHex("0200"));
}

void TestWindows::exitWritesSettingsWhenAStepFails()
{
    GameFolders folders;
    Form1* main = start(folders);
    form3().Text1()->setText(QStringLiteral("札幌"));
    connect(&form2(), &Form2::unloaded, this,
            [] { throw MoraveltError(QStringLiteral("情報ウィンドウが閉じられません")); });
    main->mn0(0)->setChecked(true);
    main->runExitSequence();
    const std::optional<SaveData> saved = SettingsFile::read(folders.settingsPath());
    QVERIFY(saved.has_value());
    QCOMPARE(saved->DepartText, QStringLiteral("札幌"));
    QCOMPARE(saved->AnsCheck, qint16(-1));
}

void TestWindows::closedNaviWindowKeepsWhatItStored()
{
    GameFolders folders;
    Form1* main = start(folders);
    form3().Text1()->setText(QStringLiteral("仙台"));
    form3().close();
    QVERIFY(!form3().isVisible());
    form3().Text1()->setText(QStringLiteral("盛岡"));
    main->runExitSequence();
    QCOMPARE(SettingsFile::read(folders.settingsPath())->DepartText, QStringLiteral("仙台"));
}

void TestWindows::startUpFailureNamesTheFileAndWritesNothing_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("named");
    QTest::newRow("no database") << QStringLiteral("mapdata.mdb") << QStringLiteral("mapdata.mdb");
    QTest::newRow("no picture") << QStringLiteral("map.jpg") << QStringLiteral("map.jpg");
    QTest::newRow("database is not one")
        << QStringLiteral("garble:mapdata.mdb") << QStringLiteral("mapdata.mdb");
    QTest::newRow("picture is not one")
        << QStringLiteral("garble:map.jpg") << QStringLiteral("map.jpg");
}

void TestWindows::startUpFailureNamesTheFileAndWritesNothing()
{
    QFETCH(QString, damage);
    QFETCH(QString, named);
    GameFolders folders;
    const bool garble = damage.startsWith(QStringLiteral("garble:"));
    const QString file = folders.db->folder() + damage.section(QLatin1Char(':'), -1);
    QVERIFY(QFile::remove(file));
    if (garble) {
        QFile broken(file);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'x'));
    }
    auto* main = new Form1({folders.db->folder(), folders.settingsPath(), &m_prompt});
    try {
        main->load();
        QFAIL("start-up went on without its file");
    } catch (const MoraveltError& error) {
        QVERIFY2(error.message().contains(named), qPrintable(error.message()));
    }
    destroyWindows();
    QVERIFY(!QFile::exists(folders.settingsPath()));
}

void TestWindows::menusAreComposedAsDesigned()
{
    GameFolders folders;
    Form1* main = start(folders);
    QCOMPARE(main->menu(0)->text(), QStringLiteral("menu"));
    QVERIFY(main->menu(0)->isVisible());
    QVERIFY(!main->menu(1)->isVisible());
    QCOMPARE(main->menu(2)->text(), QStringLiteral("ナビ作成"));
    QCOMPARE(main->mn1(0)->text(), QStringLiteral("出発地"));
    QCOMPARE(main->mn1(1)->text(), QStringLiteral("目的地"));
    QCOMPARE(main->destinationPopup()->actions().size(), 2);
    QVERIFY(main->mn0(0)->isCheckable());
    QVERIFY(!form3().menu(0)->isEnabled());
    QVERIFY(!form3().menu(1)->isVisible());
    QCOMPARE(form3().mn1(2)->text(), QStringLiteral("コピー"));
    QVERIFY(form3().mn1(1)->isSeparator());
    QCOMPARE(form3().mn2(0)->text(), QStringLiteral("最悪（速い）"));
    QCOMPARE(form3().mn2(4)->text(), QStringLiteral("最良（遅い）"));
}

void TestWindows::firstStartLeavesTheMainWindowToTheSystem()
{
    GameFolders folders;
    Form1* main = start(folders, false);
    // Never moved by the game: the window system keeps choosing its place.
    QVERIFY(!main->testAttribute(Qt::WA_Moved));
    const TwipsRect m = WindowGeometry::get(*main);
    const TwipsRect info = WindowGeometry::get(form2());
    // The headless platform shifts a frame by its 2-pixel border when it first shows it.
    auto near = [](float a, float b) { return std::abs(a - b) <= 30.0f; };
    QVERIFY(near(info.left, m.left + m.width));
    QVERIFY(near(info.top, m.top));
    QVERIFY(near(WindowGeometry::get(form3()).top, m.top + info.height));
}

void TestWindows::placeAskedForHoldsUntilFramedThenThePlayerDecides()
{
    QWidget window;
    window.winId();
    FramedPlace& place = FramedPlace::of(window);
    QCOMPARE(&FramedPlace::of(window), &place);
    QSignalSpy framed(&place, &FramedPlace::framed);
    const QRect asked(120, 90, 300, 200);
    place.setLeft(asked.left());
    place.setTop(asked.top());
    place.setOuterWidth(asked.width());
    place.setOuterHeight(asked.height());
    QCOMPARE(place.frame(), asked);
    QVERIFY(!place.isFramed());

    window.show();
    QTRY_VERIFY(place.isFramed());
    QCOMPARE(framed.size(), 1);
    // The frame holds the place asked for, and the client area is smaller by the frame.
    QCOMPARE(window.frameGeometry(), asked);
    QVERIFY(window.width() < asked.width());

    // The player moves it; hiding and showing it again (minimise, restore) keeps it there.
    window.move(400, 300);
    window.hide();
    window.show();
    QCoreApplication::processEvents();
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(400, 300));
    QCOMPARE(place.frame().topLeft(), QPoint(400, 300));
    QCOMPARE(framed.size(), 1);
}

void TestWindows::hugeStoredPositionsComeBack_data()
{
    QTest::addColumn<qint32>("left");
    QTest::addColumn<qint32>("top");
    QTest::newRow("largest float-exact left") << qint32(2147483584) << qint32(300);
    QTest::newRow("int32 extremes") << qint32(INT32_MAX) << qint32(INT32_MIN);
    QTest::newRow("most negative left") << qint32(INT32_MIN) << qint32(-2147483584);
}

void TestWindows::hugeStoredPositionsComeBack()
{
    QFETCH(qint32, left);
    QFETCH(qint32, top);
    GameFolders folders;
    const SaveData d{.ImgLeft = left,
                     .ImgTop = top,
                     .Frm1Left = left,
                     .Frm1Top = top,
                     .Frm1Width = 6000,
                     .Frm1Height = 6000,
                     .Frm2Left = left,
                     .Frm2Top = top,
                     .Frm2Width = 3000,
                     .Frm2Height = 3000,
                     .Frm3Left = left,
                     .Frm3Top = top,
                     .Frm3Width = 3000,
                     .Frm3Height = 3000,
                     .SeidoLevel = 1};
    SettingsFile::write(folders.settingsPath(), d);
    Form1* main = start(folders);
    for (QWidget* window : {static_cast<QWidget*>(main), static_cast<QWidget*>(&form2()),
                            static_cast<QWidget*>(&form3())}) {
        const TwipsRect place = WindowGeometry::get(*window);
        QCOMPARE(place.left, 0.0f);
        QCOMPARE(place.top, top == 300 ? 300.0f : 0.0f);
    }
    // An offset that shows no map comes back too, until half the map area shows map.
    const MapFrame frame = main->Image1()->frame();
    const QPointF offset = main->Image1()->offsetTwips();
    QVERIFY(frame.showsMap(offset, 1.0));
    QCOMPARE(frame.keptInView(offset, 1.0), offset);
    main->runExitSequence();
    const std::optional<SaveData> saved = SettingsFile::read(folders.settingsPath());
    QVERIFY(saved.has_value());
    QCOMPARE(saved->Frm1Left, 0);
    QCOMPARE(saved->Frm3Left, 0);
    QCOMPARE(saved->ImgLeft, Twips::round(float(offset.x())));
}

void TestWindows::failedSaveIsSaidOnceAndTheOldFileStays()
{
    GameFolders folders;
    SettingsFile::write(folders.settingsPath(), SaveData{.SeidoLevel = 2});
    const QByteArray before = folders.settingsBytes();
    QVERIFY(QFile::setPermissions(folders.settingsPath(), QFileDevice::ReadOwner));
    Form1* main = start(folders);
    form3().Text1()->setText(QStringLiteral("札幌"));
    main->close();
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY2(m_prompt.errors.first().contains(folders.settingsPath()),
             qPrintable(m_prompt.errors.first()));
    QVERIFY(m_prompt.errors.first().contains(QStringLiteral("設定を保存できませんでした")));
    QCOMPARE(folders.settingsBytes(), before);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windows.moc"
