// SPDX-License-Identifier: MIT

#include "mapview/mapimage.h"
#include "mapview/routeoverlay.h"
#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "searchtestmaps.h"
#include "settings/savedatacodec.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form3.h"
#include "windows/townnameentry.h"
#include "windows/windowrefs.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Dots in twips, 15 to a pixel of the 500 x 500 picture: 京都 (200, 100), 大津 (300, 100),
// 大阪 (100, 200), 奈良 (200, 300), 遠野 (400, 400), and the hidden town 大原 on 京都 to 大津.
TestMap kansai()
{
    TestMap map;
    map.towns = {{"京都", 3000.0, 1500.0}, {"大津", 4500.0, 1500.0}, {"大阪", 1500.0, 3000.0},
                 {"奈良", 3000.0, 4500.0}, {"遠野", 6000.0, 6000.0}, {"大原", 3750.0, 1500.0}};
    map.road(QStringLiteral("京都"), QStringLiteral("大津"), 10);
    map.road(QStringLiteral("京都"), QStringLiteral("大阪"), 40);
    map.road(QStringLiteral("大阪"), QStringLiteral("奈良"), 30);
    map.road(QStringLiteral("京都"), QStringLiteral("奈良"), 45);
    map.road(QStringLiteral("大津"), QStringLiteral("奈良"), 50);
    map.roads.push_back({"遠野", "京都", 100.0}); // one way: nothing leads to 遠野
    map.hidden = {{"京都", "大津", "大原", 3.0}};
    map.events = {{"大原", "里で休んだ"}};
    return map;
}

const QStringList kRoutes{"00045-京都-奈良", "00060-京都-大津-奈良", "00070-京都-大阪-奈良"};

} // namespace

class TestMapFeatures : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void shortestFillsTheListAtOnce();
    void shortestSaysWhyThereIsNoRoute_data();
    void shortestSaysWhyThereIsNoRoute();
    void selectedRouteIsDrawnAndSwitchedOff();
    void emptyListOrNewSearchTakesTheRouteAway();
    void doubleClickCentresTheRoute_data();
    void doubleClickCentresTheRoute();
    void boxesCompleteVisibleTownsAndEnterSearches();
    void settingsKeepTheirLayout();
    void startsWhenTheNamesCannotBeRead();

private:
    void shortest(const QString& departure, const QString& destination);
    void select(int row);
    QRgb pixel(int x, int y) const;
    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    TestPrompt m_prompt;
    Form1* m_main = nullptr;
};

void TestMapFeatures::init()
{
    m_db = std::make_unique<TestMapDb>(kansai());
    QImage picture(500, 500, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg"), "PNG"));
    QFile::remove(m_current.filePath(QStringLiteral("Moravelt.ini")));
    QFile::remove(ExtraSettings::defaultPath()); // each test starts at 1:1
    m_prompt = TestPrompt();
    m_main =
        new Form1({m_db->folder(), m_current.filePath(QStringLiteral("Moravelt.ini")), &m_prompt});
    m_main->load();
    m_main->show();
}

void TestMapFeatures::cleanup()
{
    destroyWindows();
}

void TestMapFeatures::shortest(const QString& departure, const QString& destination)
{
    form3().Text1()->setText(departure);
    form3().Text2()->setText(destination);
    m_main->setWindowTitle(QStringLiteral("+-京都"));
    m_main->shortestMenu()->trigger();
    // The search runs on a worker; the menu is back once its routes are listed.
    QTRY_VERIFY(m_main->shortestMenu()->isEnabled());
}

void TestMapFeatures::select(int row)
{
    form3().List1()->setCurrentIndex(form3().routeList().index(row));
}

QRgb TestMapFeatures::pixel(int x, int y) const
{
    return m_main->Image1()->grab().toImage().pixel(x, y);
}

void TestMapFeatures::shortestFillsTheListAtOnce()
{
    form3().List1()->hide();
    shortest(QStringLiteral("京都"), QStringLiteral("奈良"));
    QStringList listed;
    for (int row = 0; row < form3().routeList().count(); ++row)
        listed << form3().routeList().text(row);
    QCOMPARE(listed, kRoutes);
    QVERIFY(m_prompt.questions.isEmpty());
    QVERIFY(m_prompt.errors.isEmpty());
    QCOMPARE(m_main->windowTitle(), NaviSearchRun::kNormalCaption);
    QVERIFY(form3().List1()->isVisible());
}

void TestMapFeatures::shortestSaysWhyThereIsNoRoute_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "奈良"
                           << "出発地を入力してください";
    QTest::newRow("unknown") << "京都"
                             << "東京"
                             << "目的地「東京」という町は地図にありません";
    QTest::newRow("same") << "奈良"
                          << "奈良"
                          << "出発地と目的地が同じ町「奈良」です";
    QTest::newRow("no route") << "京都"
                              << "遠野"
                              << "「京都」から「遠野」へのルートはありません";
}

void TestMapFeatures::shortestSaysWhyThereIsNoRoute()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QString, message);
    shortest(departure, destination);
    QCOMPARE(m_prompt.errors, QStringList{message});
    QCOMPARE(form3().routeList().count(), 0);
    QCOMPARE(m_main->windowTitle(), NaviSearchRun::kNormalCaption);
}

void TestMapFeatures::selectedRouteIsDrawnAndSwitchedOff()
{
    const QColor line = RouteOverlay::kLineColour;
    const double alpha = line.alphaF();
    const auto onWhite = [alpha](int c) { return int(std::lround(c * alpha + 255 * (1 - alpha))); };
    const auto isLine = [&](QRgb p) {
        return std::abs(qRed(p) - onWhite(line.red())) <= 4 &&
               std::abs(qGreen(p) - onWhite(line.green())) <= 4 &&
               std::abs(qBlue(p) - onWhite(line.blue())) <= 4;
    };
    shortest(QStringLiteral("京都"), QStringLiteral("奈良"));
    QCOMPARE(pixel(250, 100), qRgb(255, 255, 255)); // nothing selected yet
    select(1);                                      // 京都 - 大津 - 奈良
    QVERIFY(isLine(pixel(250, 100)));               // the leg 京都 - 大津
    QVERIFY(isLine(pixel(250, 200)));               // the leg 大津 - 奈良
    QCOMPARE(pixel(200, 200), qRgb(255, 255, 255)); // the road 京都 - 奈良 is not on it
    QCOMPARE(pixel(400, 400), qRgb(255, 255, 255)); // 遠野
    QCOMPARE(pixel(100, 200), qRgb(255, 255, 255)); // 大阪

    m_main->routeOnMapItem()->trigger();
    QVERIFY(!m_main->routeOnMapItem()->isChecked());
    QCOMPARE(pixel(250, 100), qRgb(255, 255, 255));
    m_main->routeOnMapItem()->trigger();
    QVERIFY(isLine(pixel(250, 100)));

    // The navigation list of the route and the way back keep it drawn.
    form3().List1_DblClick();
    QVERIFY(!form3().List1()->isVisible());
    QVERIFY(isLine(pixel(250, 200)));
    form3().mn1(0)->trigger();
    QVERIFY(isLine(pixel(250, 200)));
}

void TestMapFeatures::emptyListOrNewSearchTakesTheRouteAway()
{
    shortest(QStringLiteral("京都"), QStringLiteral("奈良"));
    select(2);
    QCOMPARE(m_main->Image1()->route().points().size(), std::size_t(3));
    QCOMPARE(m_main->Image1()->route().points().front(), QPointF(200, 100));
    shortest(QStringLiteral("大阪"), QStringLiteral("大津"));
    QVERIFY(m_main->Image1()->route().isEmpty());

    select(0);
    QVERIFY(!m_main->Image1()->route().isEmpty());
    QSignalSpy done(m_main->searchRun(), &NaviSearchRun::finished);
    m_prompt.answers = {false};
    m_main->menu(2)->trigger();
    QVERIFY(m_main->Image1()->route().isEmpty());
    QVERIFY(done.wait(10000));
}

void TestMapFeatures::doubleClickCentresTheRoute_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("level");
    QTest::addColumn<QPoint>("leftTop");
    // The route 京都 - 大津 - 奈良 spans 3000 to 4500 twips across and 1500 to 4500 down; it
    // needs 20 pixels (300 twips) to spare on every side.
    QTest::newRow("fits: the box's middle")
        << QSize(300, 400) << 0 << QPoint(2250 - 3750, 3000 - 3000);
    // At 1/2 the 250 × 250 pixel picture is narrower than the window and stands in its middle
    // across; down, the route's middle.
    QTest::newRow("too low: out to 1/2") << QSize(300, 150) << 1 << QPoint(750, -750);
    // Wider than the window: the route's middle across, the picture's middle down.
    QTest::newRow("too narrow: out to 1/2") << QSize(90, 400) << 1 << QPoint(-2400, 2250);
    // At 1/4 the picture is narrower than the window and as high as the route wants.
    QTest::newRow("small: out to 1/4") << QSize(150, 100) << 2 << QPoint(750, 0);
}

void TestMapFeatures::doubleClickCentresTheRoute()
{
    QFETCH(QSize, client);
    QFETCH(int, level);
    QFETCH(QPoint, leftTop);
    m_main->resize(m_main->size() - m_main->centralWidget()->size() + client);
    QCOMPARE(m_main->centralWidget()->size(), client);
    shortest(QStringLiteral("京都"), QStringLiteral("奈良"));
    // A double-click is a press and release followed by a second press.
    QWidget* list = form3().List1()->viewport();
    const QPoint at = form3().List1()->visualRect(form3().routeList().index(1)).center();
    QTest::mouseClick(list, Qt::LeftButton, {}, at);
    QTest::mouseDClick(list, Qt::LeftButton, {}, at);
    QVERIFY(!form3().List1()->isVisible());
    QCOMPARE(m_main->Image1()->zoomLevel(), level);
    QCOMPARE(m_main->Image1()->leftTwips(), float(leftTop.x()));
    QCOMPARE(m_main->Image1()->topTwips(), float(leftTop.y()));
    const double s = m_main->Image1()->scale();
    const auto pixels = [s](int twips) { return int(std::round(twips * s / 15)); };
    QCOMPARE(m_main->Image1()->pos(), QPoint(pixels(leftTop.x()), pixels(leftTop.y())));
}

void TestMapFeatures::boxesCompleteVisibleTownsAndEnterSearches()
{
    QLineEdit* box = form3().Text1();
    auto* entry = box->findChild<TownNameEntry*>();
    QVERIFY(entry);
    const auto offered = [entry] {
        return qobject_cast<QStringListModel*>(entry->completer()->model())->stringList();
    };
    form3().activateWindow();
    box->setFocus();
    // As an input method commits the character the player chose.
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("大"));
    QApplication::sendEvent(box, &typed);
    QCOMPARE(offered(), (QStringList{"大津", "大阪"}));
    QVERIFY(entry->completer()->popup()->isVisible());

    // Enter on the list picks the name and does not search.
    QAbstractItemView* popup = entry->completer()->popup();
    popup->setCurrentIndex(popup->model()->index(1, 0));
    QTest::keyClick(popup, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("大阪"));
    QVERIFY(!m_main->searchRun()->isRunning());
    QVERIFY(!popup->isVisible());

    // Enter in the box searches as "ナビ作成" does.
    form3().Text2()->setText(QStringLiteral("大津"));
    QSignalSpy done(m_main->searchRun(), &NaviSearchRun::finished);
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(m_main->searchRun()->isRunning());
    QVERIFY(done.wait(10000));
    QVERIFY(form3().routeList().count() > 0);
}

void TestMapFeatures::settingsKeepTheirLayout()
{
    shortest(QStringLiteral("京都"), QStringLiteral("奈良"));
    select(1);
    form3().List1_DblClick();
    m_main->routeOnMapItem()->trigger();
    m_main->Image1()->setZoomLevel(2); // the file keeps the full-size offset at every level
    const QPoint leftTop(int(m_main->Image1()->leftTwips()), int(m_main->Image1()->topTwips()));
    m_main->close();
    QFile file(m_current.filePath(QStringLiteral("Moravelt.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const std::optional<SaveData> saved = SaveDataCodec::decode(bytes);
    QVERIFY(saved);
    QCOMPARE(bytes, SaveDataCodec::encode(*saved)); // same length, same offsets
    QCOMPARE(bytes.size(), 64 + 4 + 4);             // two towns of two characters each
    QCOMPARE(QPoint(saved->ImgLeft, saved->ImgTop), leftTop);
    QCOMPARE(saved->AnsCheck, std::int16_t(0));
    QCOMPARE(saved->DepartText, QStringLiteral("京都"));
}

void TestMapFeatures::startsWhenTheNamesCannotBeRead()
{
    destroyWindows();
    // The table and its columns are whole, so the map opens; reading its names fails.
    QVERIFY(alterMap(*m_db, QStringLiteral("ALTER TABLE tbl_隠れ RENAME TO tbl_隠れ_rows")));
    QVERIFY(alterMap(*m_db, QStringLiteral("CREATE VIEW tbl_隠れ AS SELECT CASE WHEN 隠れ = '大原' "
                                           "THEN abs(-9223372036854775807 - 1 + 0 * length(隠れ)) "
                                           "ELSE 隠れ END AS 隠れ, イベント FROM tbl_隠れ_rows")));
    m_main =
        new Form1({m_db->folder(), m_current.filePath(QStringLiteral("Moravelt.ini")), &m_prompt});
    m_main->load();
    auto* entry = form3().Text1()->findChild<TownNameEntry*>();
    QVERIFY(entry);
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("大"));
    QApplication::sendEvent(form3().Text1(), &typed);
    QCOMPARE(qobject_cast<QStringListModel*>(entry->completer()->model())->rowCount(), 0);
    shortest(QStringLiteral("京都"), QStringLiteral("奈良"));
    QCOMPARE(form3().routeList().count(), 3);
}

QTEST_MAIN(TestMapFeatures)
#include "tst_mapfeatures.moc"
