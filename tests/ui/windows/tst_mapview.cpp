// SPDX-License-Identifier: MIT

#include "mapview/mapimage.h"
#include "mapview/mapinput.h"
#include "settings/settingsfile.h"
#include "testmapdb.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

const QString kQuizText = QStringLiteral("\r\n名物は？\r\n八ッ橋\r\nういろう\r\n\r\n30 Point!");

TestMap sampleMap()
{
    TestMap map;
    map.towns = {{QStringLiteral("京都"), 90.0, 90.0},     // found from the start corner
                 {QStringLiteral("奈良"), 1500.0, 1500.0}, // quiz and event
                 {QStringLiteral("宇治"), 3000.0, 1500.0}, // hidden town, event only
                 {QStringLiteral("無名"), 4500.0, 1500.0}, // neither quiz nor event
                 {QStringLiteral("後"), 6090.0, 3000.0},   // two in one square:
                 {QStringLiteral("先"), 6000.0, 3000.0}};  // the first written wins
    map.road(QStringLiteral("京都"), QStringLiteral("奈良"), 45);
    map.hidden = {{QStringLiteral("京都"), QStringLiteral("奈良"), QStringLiteral("宇治"), 17.0}};
    map.events = {{QStringLiteral("宇治"), QStringLiteral("茶畑の香りがする")},
                  {QStringLiteral("奈良"), QStringLiteral("鹿がせんべいを待っている")}};
    map.quizzes = {
        {QStringLiteral("京都"), QStringLiteral("名物は？"), QStringLiteral("正解：八ッ橋"),
         QStringLiteral("不正：ういろう"), QStringLiteral("不正"), 30},
        {QStringLiteral("奈良"), QStringLiteral("大仏がある寺は？"), QStringLiteral("不正：清水寺"),
         QStringLiteral("正解：東大寺"), QStringLiteral("不正：金閣寺"), 20},
        {QStringLiteral("後"), QStringLiteral("?"), QStringLiteral("正解：a"),
         QStringLiteral("不正：b"), QStringLiteral("不正：c"), 10},
        {QStringLiteral("先"), QStringLiteral("?"), QStringLiteral("正解：a"),
         QStringLiteral("不正：b"), QStringLiteral("不正：c"), 10}};
    return map;
}

} // namespace

class TestMapView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ninetyTwipRule();
    void emptyMapChangesNothingAndShutsTheMenu();
    void firstWrittenTownWinsTheSquare();
    void dragStopsWhereHalfTheAreaShowsMap();
    void rightButtonNeverDrags();
    void quizTextByteForByte();
    void eventWinsOverQuizButMenuStaysOpen();
    void townWithNeitherKeepsThePreviousText();
    void departureAndDestinationFromTheMap();
    void failingLookupIsReportedOnce();

private:
    void send(QEvent::Type type, Qt::MouseButton button, float xTwips, float yTwips);
    void hover(float xTwips, float yTwips)
    {
        send(QEvent::MouseMove, Qt::NoButton, xTwips, yTwips);
    }
    QString caption() const { return form2().windowTitle(); }

    std::unique_ptr<TestMapDb> m_db;
    QTemporaryDir m_current;
    TestPrompt m_prompt;
    Form1* m_main = nullptr;
    Qt::MouseButtons m_held;
};

void TestMapView::init()
{
    m_db = std::make_unique<TestMapDb>(sampleMap());
    if (QByteArray(QTest::currentTestFunction()) == "failingLookupIsReportedOnce")
        failWhenRead(*m_db, QStringLiteral("tbl_Quiz"), QStringLiteral("奈良"));
    QImage picture(500, 300, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(m_db->folder() + QStringLiteral("map.jpg")));
    SaveData start;
    start.Frm1Width = 7500;
    start.Frm1Height = 6000;
    start.Frm2Width = start.Frm3Width = 4500;
    start.Frm2Height = start.Frm3Height = 4500;
    start.SeidoLevel = 1;
    const QString settings = m_current.filePath(QStringLiteral("Moravelt.ini"));
    SettingsFile::write(settings, start);
    m_main = new Form1({m_db->folder(), settings, &m_prompt});
    m_main->load();
    m_main->show();
    m_prompt = TestPrompt();
    m_held = {};
}

void TestMapView::cleanup()
{
    destroyWindows();
    m_main = nullptr;
}

void TestMapView::send(QEvent::Type type, Qt::MouseButton button, float xTwips, float yTwips)
{
    if (type == QEvent::MouseButtonPress)
        m_held |= button;
    if (type == QEvent::MouseButtonRelease)
        m_held &= ~Qt::MouseButtons(button);
    const QPointF local(xTwips / 15.0, yTwips / 15.0);
    MapImage* image = m_main->Image1();
    QMouseEvent event(type, local, image->mapToGlobal(local), button, m_held, Qt::NoModifier);
    QCoreApplication::sendEvent(image, &event);
}

void TestMapView::ninetyTwipRule()
{
    hover(89.9f, 89.9f); // the reference point starts at 0, 0
    QCOMPARE(caption(), QStringLiteral("モラベルト 情報"));
    hover(90.0f, 0.0f); // exactly 90 away runs a lookup; 京都 lies on the square's edge
    QCOMPARE(caption(), QStringLiteral("京都"));
    QCOMPARE(m_main->mapInput()->pointer().lastFound(), QPointF(90, 0));

    hover(1500.0f - 89.9f + 90.0f, 0.0f); // moved, but 奈良 is not in this square
    QCOMPARE(caption(), QStringLiteral("京都"));
    hover(1500.0f, 1500.0f - 90.0f);
    QCOMPARE(caption(), QStringLiteral("奈良"));
    hover(1500.0f + 89.9f, 1500.0f - 90.0f + 89.9f); // less than 90 along both axes
    hover(1500.0f - 89.9f, 1500.0f - 179.9f);
    QCOMPARE(m_main->mapInput()->pointer().lastFound(), QPointF(1500, 1410));
}

void TestMapView::emptyMapChangesNothingAndShutsTheMenu()
{
    hover(1500.0f, 1500.0f);
    QVERIFY(m_main->mapInput()->pointer().menuEnabled());
    const QString text = form2().infoText();
    hover(2200.0f, 2500.0f);
    QCOMPARE(caption(), QStringLiteral("奈良"));
    QCOMPARE(form2().infoText(), text);
    QCOMPARE(m_main->mapInput()->pointer().lastFound(), QPointF(1500, 1500));
    QVERIFY(!m_main->mapInput()->pointer().menuEnabled());
    send(QEvent::MouseButtonPress, Qt::RightButton, 2200.0f, 2500.0f);
    QVERIFY(!m_main->destinationPopup()->isVisible());
    send(QEvent::MouseButtonRelease, Qt::RightButton, 2200.0f, 2500.0f);

    hover(3000.0f, 1500.0f); // a hidden town shows no quiz: the menu stays shut
    QCOMPARE(caption(), QStringLiteral("宇治"));
    QVERIFY(!m_main->mapInput()->pointer().menuEnabled());
    QCOMPARE(form2().DataGrid2Model()->headerData(2, Qt::Horizontal).toString(),
             QStringLiteral("隠れた街までの距離"));
    QCOMPARE(form2().DataGrid2Model()->cellText(0, 0), QStringLiteral("京都"));

    hover(90.0f, 90.0f);
    QVERIFY(m_main->mapInput()->pointer().menuEnabled());
    QCOMPARE(form2().DataGrid2Model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("出発地"));
    QCOMPARE(form2().DataGrid2Model()->cellText(0, 1), QStringLiteral("奈良"));
    send(QEvent::MouseButtonPress, Qt::RightButton, 90.0f, 90.0f);
    QVERIFY(m_main->destinationPopup()->isVisible());
    m_main->destinationPopup()->hide();
}

void TestMapView::firstWrittenTownWinsTheSquare()
{
    hover(6050.0f, 3000.0f);
    QCOMPARE(caption(), QStringLiteral("後"));
}

void TestMapView::dragStopsWhereHalfTheAreaShowsMap()
{
    MapImage* image = m_main->Image1();
    const float left = image->leftTwips();
    const float top = image->topTwips();
    send(QEvent::MouseButtonPress, Qt::LeftButton, 3000.0f, 3000.0f);
    send(QEvent::MouseMove, Qt::NoButton, 2250.0f, 2550.0f);
    QCOMPARE(image->leftTwips(), left - 750.0f);
    QCOMPARE(image->topTwips(), top - 450.0f);
    // Dragged on and on, the 7500 × 4500 twips picture stops with half the area's width and
    // height still showing it.
    for (int i = 0; i < 200; ++i)
        send(QEvent::MouseMove, Qt::NoButton, 2250.0f, 2550.0f);
    const QSizeF area = QSizeF(m_main->centralWidget()->size()) * 15;
    QCOMPARE(image->leftTwips(), float(area.width() / 2 - 7500));
    QCOMPARE(image->topTwips(), float(area.height() / 2 - 4500));
    send(QEvent::MouseButtonRelease, Qt::LeftButton, 0, 0);
    const float after = image->leftTwips();
    send(QEvent::MouseMove, Qt::NoButton, 100.0f, 100.0f);
    QCOMPARE(image->leftTwips(), after);

    send(QEvent::MouseButtonPress, Qt::MiddleButton, 3000.0f, 3000.0f);
    send(QEvent::MouseMove, Qt::NoButton, 3150.0f, 3000.0f);
    QCOMPARE(image->leftTwips(), after + 150.0f);
}

void TestMapView::rightButtonNeverDrags()
{
    MapImage* image = m_main->Image1();
    const float left = image->leftTwips();
    send(QEvent::MouseButtonPress, Qt::RightButton, 3000.0f, 3000.0f);
    send(QEvent::MouseMove, Qt::NoButton, 2000.0f, 3000.0f);
    QCOMPARE(image->leftTwips(), left);

    send(QEvent::MouseButtonPress, Qt::LeftButton, 3000.0f, 3000.0f);
    send(QEvent::MouseButtonRelease, Qt::RightButton, 3000.0f, 3000.0f); // ends the drag
    send(QEvent::MouseMove, Qt::NoButton, 2000.0f, 3000.0f);
    QCOMPARE(image->leftTwips(), left);
}

void TestMapView::quizTextByteForByte()
{
    hover(90.0f, 90.0f);
    QCOMPARE(form2().infoText(), kQuizText);
    QCOMPARE(form2().Text1()->toPlainText(), QString(kQuizText).replace("\r\n", "\n"));
    m_main->mn0(0)->trigger(); // answers on: shown from the next quiz on
    QVERIFY(m_main->mn0(0)->isChecked());
    QCOMPARE(form2().infoText(), kQuizText);
    hover(1500.0f, 1500.0f);
    hover(90.0f, 90.0f);
    QCOMPARE(form2().infoText(),
             QStringLiteral("\r\n名物は？\r\n正解：八ッ橋\r\n不正：ういろう\r\n不正\r\n30 Point!"));
}

void TestMapView::eventWinsOverQuizButMenuStaysOpen()
{
    hover(1500.0f, 1500.0f);
    QCOMPARE(form2().infoText(), QStringLiteral("\r\n鹿がせんべいを待っている"));
    QVERIFY(m_main->mapInput()->pointer().menuEnabled());
}

void TestMapView::townWithNeitherKeepsThePreviousText()
{
    hover(3000.0f, 1500.0f);
    hover(4500.0f, 1500.0f);
    QCOMPARE(caption(), QStringLiteral("無名"));
    QCOMPARE(form2().infoText(), QStringLiteral("\r\n茶畑の香りがする"));
    QCOMPARE(form2().DataGrid2Model()->currentRow(), -1);
}

void TestMapView::departureAndDestinationFromTheMap()
{
    hover(90.0f, 90.0f);
    m_main->mn1(0)->trigger();
    hover(1500.0f, 1500.0f);
    m_main->mn1(1)->trigger();
    QCOMPARE(form3().Text1()->text(), QStringLiteral("京都"));
    QCOMPARE(form3().Text2()->text(), QStringLiteral("奈良"));
}

void TestMapView::failingLookupIsReportedOnce()
{
    // init() made 奈良's quiz unreadable for this test.
    hover(90.0f, 90.0f);
    hover(1500.0f, 1500.0f);
    hover(1800.0f, 1800.0f);
    hover(1500.0f, 1500.0f);
    QCOMPARE(m_prompt.errors.size(), 1);
    QCOMPARE(caption(), QStringLiteral("京都"));
    QCOMPARE(form2().infoText(), kQuizText);
    QCOMPARE(m_main->mapInput()->pointer().lastFound(), QPointF(90, 90));
}

QTEST_MAIN(TestMapView)
#include "tst_mapview.moc"
