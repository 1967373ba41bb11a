// SPDX-License-Identifier: MIT

#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/windowgeometry.h"
#include "windows/windowrefs.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

class TestWindowPlaces : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { destroyWindows(); }
    void storedPositionsStayWhereTheSystemDoesNotReportThem_data();
    void storedPositionsStayWhereTheSystemDoesNotReportThem();
};

void TestWindowPlaces::storedPositionsStayWhereTheSystemDoesNotReportThem_data()
{
    QTest::addColumn<bool>("reported");
    QTest::newRow("Wayland: positions not reported") << false;
    QTest::newRow("X11: positions reported") << true;
}

void TestWindowPlaces::storedPositionsStayWhereTheSystemDoesNotReportThem()
{
    QFETCH(bool, reported);
    TestMap map;
    map.towns.push_back({QStringLiteral("東京"), 300.0, 300.0});
    const TestMapDb db(map);
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(Qt::cyan);
    QVERIFY(picture.save(db.folder() + QStringLiteral("map.jpg")));
    QTemporaryDir current;
    const QString path = current.filePath(SettingsFile::fileName());
    // Places an X session stored on a screen larger than this one: the work-area check moves
    // the information window back onto the screen.
    const SaveData stored{.Frm1Left = 1500,
                          .Frm1Top = 1500,
                          .Frm1Width = 6000,
                          .Frm1Height = 6000,
                          .Frm2Left = 15 * 5000,
                          .Frm2Top = 15 * 4000,
                          .Frm2Width = 3000,
                          .Frm2Height = 3000,
                          .Frm3Left = 4500,
                          .Frm3Top = 4500,
                          .Frm3Width = 3000,
                          .Frm3Height = 3000,
                          .DepartText = QStringLiteral("東京"),
                          .SeidoLevel = 2};
    SettingsFile::write(path, stored);
    TestPrompt prompt;
    auto* main = new Form1({.programFolder = db.folder(),
                            .settingsPath = path,
                            .prompt = &prompt,
                            .windowPlacesReported = reported});
    main->load();
    main->show();
    QCoreApplication::processEvents();
    // The player moves and resizes windows; the navi list window is closed before the exit.
    WindowGeometry::setLeft(*main, 3000);
    WindowGeometry::setWidth(*main, 7500);
    WindowGeometry::setTop(form3(), 6000);
    WindowGeometry::setHeight(form3(), 4500);
    form3().close();
    main->runExitSequence();

    const std::optional<SaveData> saved = SettingsFile::read(path);
    QVERIFY(saved.has_value());
    SaveData expected = stored;
    expected.Frm1Width = 7500;
    expected.Frm3Height = 4500;
    if (reported) {
        expected.Frm1Left = 3000;
        expected.Frm2Left = 0;
        expected.Frm2Top = 0;
        expected.Frm3Top = 6000;
    }
    QCOMPARE(*saved, expected);
}

QTEST_MAIN(TestWindowPlaces)
#include "tst_windowplaces.moc"
