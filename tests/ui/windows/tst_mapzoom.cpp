// SPDX-License-Identifier: MIT

#include "base/twips.h"
#include "lookup/mapscale.h"
#include "mapdb/querytexts.h"
#include "mapview/mapimage.h"
#include "mapview/mapinput.h"
#include "mapview/mapnavigator.h"
#include "settings/savedatacodec.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/mapcommands.h"
#include "windows/townfindbox.h"
#include "windows/townnameentry.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// A 600 × 480 picture; the dots lie on whole pixels of every level (multiples of 8 pixels).
TestMap kansai()
{
    TestMap map;
    map.towns = {{QStringLiteral("京都"), 3600.0, 2400.0},
                 {QStringLiteral("奈良"), 4800.0, 6000.0},
                 {QStringLiteral("大阪"), 2400.0, 4800.0},
                 {QStringLiteral("宇治"), 4200.0, 4200.0}}; // hidden, on 京都 - 奈良
    map.road(QStringLiteral("京都"), QStringLiteral("奈良"), 45);
    map.road(QStringLiteral("京都"), QStringLiteral("大阪"), 40);
    map.road(QStringLiteral("大阪"), QStringLiteral("奈良"), 30);
    map.hidden = {{QStringLiteral("京都"), QStringLiteral("奈良"), QStringLiteral("宇治"), 17.0}};
    map.events = {{QStringLiteral("宇治"), QStringLiteral("茶畑の香りがする")}};
    for (const char* town : {"京都", "奈良", "大阪"})
        map.quizzes.push_back({QString::fromUtf8(town), QStringLiteral("?"),
                               QStringLiteral("正解：a"), QStringLiteral("不正：b"),
                               QStringLiteral("不正：c"), 10});
    return map;
}

const QSize kPicture(600, 480);

} // namespace

class TestMapZoom : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hoverAndRightClickAtEveryLevel_data();
    void hoverAndRightClickAtEveryLevel();
    void wheelKeepsThePointUnderThePointer_data();
    void wheelKeepsThePointUnderThePointer();
    void dragReleasedFarOutsideLeavesMapInView_data();
    void dragReleasedFarOutsideLeavesMapInView();
    void keysAndShiftWheelPanShortcutsZoom();
    void storedOffsetOffTheMapIsBroughtBack_data();
    void storedOffsetOffTheMapIsBroughtBack();
    void storedOffsetShowingMapIsAppliedExactly_data();
    void storedOffsetShowingMapIsAppliedExactly();
    void sessionWithZoomKeepsTheFileAndItsMeaning();
    void zoomAndRouteSwitchKeptOutsideTheFile_data();
    void zoomAndRouteSwitchKeptOutsideTheFile();
    void findATownMakesItTheCurrentTown();

private:
    void start(const SaveData* stored = nullptr);
    void restart();
    QString settingsPath() const { return m_current.filePath(QStringLiteral("Moravelt.ini")); }
    QString confPath() const { return m_current.filePath(QStringLiteral("moravelt.conf")); }
    MapImage& image() const { return *m_main->Image1(); }
    QWidget& area() const { return *m_main->centralWidget(); }
    MapNavigator& navigator() const { return m_main->mapCommands().navigator(); }
    // Gives the map area a size, as the player resizing the window would.
    void setArea(QSize size);
    // The full-size picture pixel under an area pixel, read from where the picture stands.
    QPointF pictureUnder(QPointF areaPixel) const
    {
        return (areaPixel - QPointF(image().pos())) / image().scale();
    }
    void mouse(QEvent::Type type, Qt::MouseButton button, QPointF areaPixel);
    void wheel(QPointF areaPixel, QPoint angle, Qt::KeyboardModifiers modifiers = {});
    // The part of the area the picture covers.
    QRect shownMap() const { return image().geometry() & area().rect(); }
    void verifyMapInView() const;

    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    TestPrompt m_prompt;
    Form1* m_main = nullptr;
    Qt::MouseButtons m_held;
};

void TestMapZoom::init()
{
    m_db = std::make_unique<TestMapDb>(kansai());
    QImage picture(kPicture, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg"), "PNG"));
    QFile::remove(settingsPath());
    QFile::remove(confPath());
    m_prompt = TestPrompt();
    m_held = {};
}

void TestMapZoom::cleanup()
{
    destroyWindows();
    m_main = nullptr;
}

void TestMapZoom::start(const SaveData* stored)
{
    SaveData record;
    record.Frm1Width = 4500;
    record.Frm1Height = 4500;
    record.Frm2Width = record.Frm3Width = 4500;
    record.Frm2Height = record.Frm3Height = 4500;
    record.SeidoLevel = 1;
    SettingsFile::write(settingsPath(), stored ? *stored : record);
    restart();
}

void TestMapZoom::restart()
{
    m_main = new Form1({m_db->folder(), settingsPath(), &m_prompt, confPath()});
    m_main->load();
    m_main->show();
    QCoreApplication::processEvents();
}

void TestMapZoom::setArea(QSize size)
{
    m_main->resize(m_main->size() - area().size() + size);
    QCOMPARE(area().size(), size);
}

void TestMapZoom::mouse(QEvent::Type type, Qt::MouseButton button, QPointF areaPixel)
{
    if (type == QEvent::MouseButtonPress)
        m_held |= button;
    if (type == QEvent::MouseButtonRelease)
        m_held &= ~Qt::MouseButtons(button);
    // While a button is held the picture gets the events wherever the pointer is.
    const QPointF local = areaPixel - QPointF(image().pos());
    QMouseEvent event(type, local, image().mapToGlobal(local), button, m_held, Qt::NoModifier);
    QCoreApplication::sendEvent(&image(), &event);
}

void TestMapZoom::wheel(QPointF areaPixel, QPoint angle, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = area().childAt(areaPixel.toPoint());
    if (!target)
        target = &area();
    const QPointF local = areaPixel - QPointF(target->mapTo(&area(), QPoint(0, 0)));
    QWheelEvent event(local, target->mapToGlobal(local), {}, angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

void TestMapZoom::verifyMapInView() const
{
    const QRect shown = shownMap();
    const QSize drawn = image().size();
    QVERIFY2(shown.width() + 1 >= std::min(area().width() / 2, drawn.width()) &&
                 shown.height() + 1 >= std::min(area().height() / 2, drawn.height()),
             qPrintable(QStringLiteral("map shown %1 × %2 of %3 × %4")
                            .arg(shown.width())
                            .arg(shown.height())
                            .arg(area().width())
                            .arg(area().height())));
}

void TestMapZoom::hoverAndRightClickAtEveryLevel_data()
{
    QTest::addColumn<int>("level");
    for (int level = 0; level < MapScale::kLevels; ++level)
        QTest::addRow("1/%d", MapScale::denominator(level)) << level;
}

void TestMapZoom::hoverAndRightClickAtEveryLevel()
{
    QFETCH(int, level);
    start();
    setArea({300, 240});
    navigator().zoomTo(level);
    QCOMPARE(navigator().level(), level);
    // 奈良's dot, where it stands in the area at this level.
    const QPointF nara = QPointF(4800, 6000) / 15 * image().scale() + QPointF(image().pos());
    mouse(QEvent::MouseMove, Qt::NoButton, nara);
    QCOMPARE(form2().windowTitle(), QStringLiteral("奈良"));
    // The query had the bounds it has at 1:1 over the same spot.
    QCOMPARE(m_main->mapInput()->pointer().lastFound(), QPointF(4800, 6000));
    QCOMPARE(QueryTexts::hitTest(4800, 6000).values,
             (QVariantList{4710.0, 4890.0, 5910.0, 6090.0}));
    mouse(QEvent::MouseButtonPress, Qt::RightButton, nara);
    QVERIFY(m_main->destinationPopup()->isVisible());
    m_main->destinationPopup()->hide();
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, nara);
    m_main->mn1(1)->trigger();
    QCOMPARE(form3().Text2()->text(), QStringLiteral("奈良"));
}

void TestMapZoom::wheelKeepsThePointUnderThePointer_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QList<int>>("turns");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to");
    QTest::newRow("out at the middle") << 0 << QPointF(150, 120) << QList<int>{-120} << 0 << 1;
    QTest::newRow("out twice off the middle")
        << 0 << QPointF(40, 150) << QList<int>{-120, -120} << 0 << 2;
    QTest::newRow("two notches at once") << 0 << QPointF(210, 90) << QList<int>{-240} << 0 << 2;
    QTest::newRow("fine wheel, half notches")
        << 0 << QPointF(150, 120) << QList<int>{-60, -30, -30} << 0 << 1;
    QTest::newRow("in from 1/8") << 3 << QPointF(150, 120) << QList<int>{120} << 0 << 2;
    QTest::newRow("Ctrl+wheel out")
        << 1 << QPointF(100, 100) << QList<int>{-120} << int(Qt::ControlModifier) << 2;
    QTest::newRow("no further than 1/8") << 3 << QPointF(150, 120) << QList<int>{-120} << 0 << 3;
    QTest::newRow("no further than 1:1") << 0 << QPointF(150, 120) << QList<int>{360} << 0 << 0;
}

void TestMapZoom::wheelKeepsThePointUnderThePointer()
{
    QFETCH(int, from);
    QFETCH(QPointF, at);
    QFETCH(QList<int>, turns);
    QFETCH(int, modifiers);
    QFETCH(int, to);
    start();
    setArea({300, 240});
    // The picture's pixel 250, 200 under the area's middle.
    image().setView(from,
                    MapFrame::offsetPutting({3750, 3000}, {2250, 1800}, MapScale::factor(from)));
    const QPointF before = pictureUnder(at);
    for (int turn : turns)
        wheel(at, {0, turn}, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(navigator().level(), to);
    const QPointF after = pictureUnder(at);
    // Within a pixel of the screen.
    QVERIFY2(std::abs(after.x() - before.x()) <= 1 / image().scale() &&
                 std::abs(after.y() - before.y()) <= 1 / image().scale(),
             qPrintable(QStringLiteral("%1,%2 became %3,%4")
                            .arg(before.x())
                            .arg(before.y())
                            .arg(after.x())
                            .arg(after.y())));
    QVERIFY(m_main->mapCommands().levelItem(to)->isChecked());
    QCOMPARE(m_main->mapCommands().zoomInItem()->isEnabled(), to > 0);
    QCOMPARE(m_main->mapCommands().zoomOutItem()->isEnabled(), to < 3);
}

void TestMapZoom::dragReleasedFarOutsideLeavesMapInView_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QPointF>("to");
    for (int level = 0; level < MapScale::kLevels; ++level) {
        for (const QPointF to : {QPointF(20000, 15000), QPointF(-20000, -15000),
                                 QPointF(20000, -400), QPointF(-30, 15000)}) {
            QTest::addRow("1/%d to %g,%g", MapScale::denominator(level), to.x(), to.y())
                << level << to;
        }
    }
}

void TestMapZoom::dragReleasedFarOutsideLeavesMapInView()
{
    QFETCH(int, level);
    QFETCH(QPointF, to);
    start();
    setArea({300, 240});
    navigator().zoomTo(level);
    const QPointF grab = QRectF(shownMap()).center();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, grab);
    for (int i = 1; i <= 10; ++i)
        mouse(QEvent::MouseMove, Qt::NoButton, grab + (to - grab) * i / 10);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, to);
    verifyMapInView();
    // The map is still there to grab and drag back.
    const QPoint before = image().pos();
    const QPointF again = QRectF(shownMap()).center();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, again);
    mouse(QEvent::MouseMove, Qt::NoButton, again - (to - grab) / 1000);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, again);
    QVERIFY(image().pos() != before);
    verifyMapInView();
}

void TestMapZoom::keysAndShiftWheelPanShortcutsZoom()
{
    start();
    setArea({200, 160});
    image().setView(0, {-3000, -2400});
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main));
    const auto offset = [this] { return image().offsetTwips(); };
    // A tenth of the area (20 × 16 pixels) a press, a whole area for a page.
    QTest::keyClick(m_main, Qt::Key_Right);
    QCOMPARE(offset(), QPointF(-3300, -2400));
    QTest::keyClick(m_main, Qt::Key_Down);
    QCOMPARE(offset(), QPointF(-3300, -2640));
    QTest::keyClick(m_main, Qt::Key_PageDown);
    QCOMPARE(offset(), QPointF(-3300, -5040));
    QTest::keyClick(m_main, Qt::Key_PageUp);
    QTest::keyClick(m_main, Qt::Key_Up);
    QTest::keyClick(m_main, Qt::Key_Left);
    QCOMPARE(offset(), QPointF(-3000, -2400));
    // At 1/2 a tenth of the area is twice as far on the full-size picture.
    navigator().zoomTo(1);
    const QPointF half = offset();
    QTest::keyClick(m_main, Qt::Key_Left);
    QCOMPARE(offset(), half + QPointF(600, 0));
    wheel({100, 80}, {0, -120}, Qt::ShiftModifier); // Shift+wheel down: across to the right
    QCOMPARE(offset(), half);
    QCOMPARE(navigator().level(), 1);
    // Pages stop where half the area still shows map.
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(m_main, Qt::Key_PageDown);
    verifyMapInView();
    QCOMPARE(shownMap().height(), 80);

    QTest::keyClick(m_main, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(navigator().level(), 2);
    QTest::keyClick(m_main, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(navigator().level(), 1);
    QTest::keyClick(m_main, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(m_main, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(m_main, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(navigator().level(), 3);
    QVERIFY(!m_main->mapCommands().zoomOutItem()->isEnabled());
    QTest::keyClick(m_main, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(navigator().level(), 2);
    QTest::keyClick(m_main, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(navigator().level(), 0);
    QVERIFY(m_main->mapCommands().levelItem(0)->isChecked());
    verifyMapInView();
    m_main->mapCommands().levelItem(3)->trigger();
    QCOMPARE(navigator().level(), 3);
}

void TestMapZoom::storedOffsetOffTheMapIsBroughtBack_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<int>("denominator");
    QTest::newRow("far right and below") << QPoint(2'000'000, 2'000'000) << 1;
    QTest::newRow("far left") << QPoint(-2'000'000, 50) << 1;
    QTest::newRow("the most negative") << QPoint(INT32_MIN, INT32_MIN) << 2;
    QTest::newRow("right of the area at 1/8") << QPoint(40'000, -3000) << 8;
}

void TestMapZoom::storedOffsetOffTheMapIsBroughtBack()
{
    QFETCH(QPoint, stored);
    QFETCH(int, denominator);
    QSettings(confPath(), QSettings::IniFormat).setValue("map/zoom", denominator);
    SaveData record;
    record.ImgLeft = stored.x();
    record.ImgTop = stored.y();
    record.Frm1Width = record.Frm1Height = 4500;
    record.Frm2Width = record.Frm3Width = record.Frm2Height = record.Frm3Height = 4500;
    start(&record);
    QCOMPARE(image().scale(), 1.0 / denominator);
    verifyMapInView();
    QVERIFY(!shownMap().isEmpty());
    const QPoint corrected(Twips::round(image().leftTwips()), Twips::round(image().topTwips()));
    QVERIFY(corrected != stored);
    m_main->close();
    const std::optional<SaveData> saved = SettingsFile::read(settingsPath());
    QVERIFY(saved);
    QCOMPARE(QPoint(saved->ImgLeft, saved->ImgTop), corrected);
}

void TestMapZoom::storedOffsetShowingMapIsAppliedExactly_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<int>("denominator");
    QTest::newRow("inside, 1:1") << QPoint(-1234, -567) << 1;
    QTest::newRow("odd twips at 1/4") << QPoint(-4471, -3333) << 4;
    // A strip of map at the area's right and bottom edges is left as the player left it.
    QTest::newRow("a strip of map") << QPoint(4400, 3500) << 1;
    QTest::newRow("past the right at 1:1, not at 1/8") << QPoint(30'000, 8000) << 8;
}

void TestMapZoom::storedOffsetShowingMapIsAppliedExactly()
{
    QFETCH(QPoint, stored);
    QFETCH(int, denominator);
    QSettings(confPath(), QSettings::IniFormat).setValue("map/zoom", denominator);
    SaveData record;
    record.ImgLeft = stored.x();
    record.ImgTop = stored.y();
    record.Frm1Width = record.Frm1Height = 4500;
    record.Frm2Width = record.Frm3Width = record.Frm2Height = record.Frm3Height = 4500;
    start(&record);
    QCOMPARE(image().leftTwips(), float(stored.x()));
    QCOMPARE(image().topTwips(), float(stored.y()));
    QVERIFY(!shownMap().isEmpty());
    QFile before(settingsPath());
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray offsetBytes = before.read(8);
    before.close();
    m_main->close();
    QFile after(settingsPath());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.read(8), offsetBytes);
}

void TestMapZoom::sessionWithZoomKeepsTheFileAndItsMeaning()
{
    start();
    setArea({300, 240});
    form3().Text1()->setText(QStringLiteral("京都"));
    form3().Text2()->setText(QStringLiteral("奈良"));
    wheel({120, 100}, {0, -240});
    const QPointF grab = QRectF(shownMap()).center();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, grab);
    mouse(QEvent::MouseMove, Qt::NoButton, grab + QPointF(7, -5));
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, grab + QPointF(7, -5));
    QCOMPARE(navigator().level(), 2);
    // The full-size picture point at the area's top-left, read off the screen.
    const QPointF corner = pictureUnder({0, 0}) * 15;
    const QPoint placed = image().pos();
    m_main->close();

    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const std::optional<SaveData> saved = SaveDataCodec::decode(bytes);
    QVERIFY(saved);
    QCOMPARE(bytes, SaveDataCodec::encode(*saved));
    QCOMPARE(bytes.size(), 64 + 4 + 4);
    // Left and top are the full-size picture's offset: minus the point at the top-left, to
    // within one pixel of the scaled picture.
    QVERIFY(std::abs(saved->ImgLeft + corner.x()) <= 15 / image().scale());
    QVERIFY(std::abs(saved->ImgTop + corner.y()) <= 15 / image().scale());
    QCOMPARE(QSettings(confPath(), QSettings::IniFormat).value("map/zoom").toInt(), 4);

    destroyWindows();
    restart();
    QCOMPARE(navigator().level(), 2);
    setArea({300, 240});
    QCOMPARE(image().pos(), placed);
}

void TestMapZoom::zoomAndRouteSwitchKeptOutsideTheFile_data()
{
    QTest::addColumn<QByteArray>("conf");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("routeShown");
    QTest::newRow("missing") << QByteArray() << 0 << true;
    QTest::newRow("1/8, route off")
        << QByteArray("[map]\nzoom=8\nrouteOnMap=false\n") << 3 << false;
    QTest::newRow("1/2, route on") << QByteArray("[map]\nzoom=2\nrouteOnMap=true\n") << 1 << true;
    QTest::newRow("damaged values")
        << QByteArray("[map]\nzoom=banana\nrouteOnMap=perhaps\n") << 0 << true;
    QTest::newRow("damaged file") << QByteArray("\xff\xfe\x00[map\x01zoom=8\n", 14) << 0 << true;
}

void TestMapZoom::zoomAndRouteSwitchKeptOutsideTheFile()
{
    QFETCH(QByteArray, conf);
    QFETCH(int, level);
    QFETCH(bool, routeShown);
    if (!conf.isEmpty()) {
        QFile file(confPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(conf);
    }
    start();
    QCOMPARE(navigator().level(), level);
    QCOMPARE(m_main->routeOnMapItem()->isChecked(), routeShown);
    QCOMPARE(image().routeShown(), routeShown);
    // What the player changes is kept for the next start, and never in "Moravelt.ini".
    m_main->routeOnMapItem()->trigger();
    navigator().zoomTo(2);
    m_main->close();
    QSettings kept(confPath(), QSettings::IniFormat);
    QCOMPARE(kept.value("map/zoom").toInt(), 4);
    QCOMPARE(kept.value("map/routeOnMap").toBool(), !routeShown);
    QCOMPARE(QFileInfo(settingsPath()).size(), 64);
}

void TestMapZoom::findATownMakesItTheCurrentTown()
{
    start();
    setArea({300, 240});
    navigator().zoomTo(3);
    TownFindBox& box = m_main->mapCommands().findBox();
    m_main->mapCommands().findItem()->trigger();
    QVERIFY(box.isVisible());
    const auto type = [&box](const QString& text) {
        box.edit()->clear();
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(box.edit(), &typed);
    };
    const auto offered = [&box] {
        return qobject_cast<QStringListModel*>(box.entry()->completer()->model())->stringList();
    };
    // Hidden towns are neither offered nor found.
    type(QStringLiteral("宇"));
    QCOMPARE(offered(), QStringList());
    QTest::keyClick(box.edit(), Qt::Key_Return);
    QVERIFY(box.isVisible());
    QCOMPARE(box.message(), QStringLiteral("「宇」という町は見つかりません"));
    QCOMPARE(form2().windowTitle(), QStringLiteral("モラベルト 情報"));

    type(QStringLiteral("京"));
    QCOMPARE(offered(), QStringList{QStringLiteral("京都")});
    QTest::keyClick(box.edit(), Qt::Key_Return);
    QVERIFY(!box.isVisible());
    // At 1:1, 京都 in the middle of the area as far as the map's edges allow.
    QCOMPARE(navigator().level(), 0);
    const QPointF kyoto = QPointF(3600, 2400) / 15 + QPointF(image().pos());
    QVERIFY(QRectF(area().rect()).contains(kyoto));
    QCOMPARE(kyoto, QPointF(150, 120));
    // The current town, as a hover over its dot makes it.
    QCOMPARE(form2().windowTitle(), QStringLiteral("京都"));
    QCOMPARE(m_main->mapInput()->pointer().lastFound(), QPointF(3600, 2400));
    QVERIFY(form2().infoText().contains(QStringLiteral("a")));
    mouse(QEvent::MouseButtonPress, Qt::RightButton, kyoto);
    QVERIFY(m_main->destinationPopup()->isVisible());
    m_main->destinationPopup()->hide();
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, kyoto);
    m_main->mn1(0)->trigger();
    QCOMPARE(form3().Text1()->text(), QStringLiteral("京都"));
}

QTEST_MAIN(TestMapZoom)
#include "tst_mapzoom.moc"
