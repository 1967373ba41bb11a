// SPDX-License-Identifier: MIT

// Double-clicking a long route on the bundled world: the map zooms out until the whole route
// fits the window, and shows no empty band where the map could fill it.
#include "lookup/mapscale.h"
#include "mapview/mapimage.h"
#include "mapview/mapnavigator.h"
#include "navilist/routelistmodel.h"
#include "testprompt.h"
#include "windows/form1.h"
#include "windows/form3.h"
#include "windows/windowrefs.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>
#include <tuple>

using namespace moravelt;
using namespace moravelt::test;

class TestRouteFit : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void doubleClickFitsTheWholeRoute_data();
    void doubleClickFitsTheWholeRoute();

private:
    QTemporaryDir m_current;
    TestPrompt m_prompt;
};

void TestRouteFit::cleanup()
{
    destroyWindows();
}

void TestRouteFit::doubleClickFitsTheWholeRoute_data()
{
    QTest::addColumn<QString>("departure");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QSize>("area");
    // The first start's map area; at 1/8 the whole map wants about 640 × 560 pixels.
    const QSize design(449, 563);
    QTest::newRow("稚内 - 鹿児島, design size")
        << QStringLiteral("稚内") << QStringLiteral("鹿児島") << design;
    QTest::newRow("石垣 - 知床, 640 × 560")
        << QStringLiteral("石垣") << QStringLiteral("知床") << QSize(640, 560);
    QTest::newRow("石垣 - 知床, 1280 × 960")
        << QStringLiteral("石垣") << QStringLiteral("知床") << QSize(1280, 960);
    QTest::newRow("稚内 - 鹿児島, 1920 × 1020")
        << QStringLiteral("稚内") << QStringLiteral("鹿児島") << QSize(1920, 1020);
    QTest::newRow("京都 - 奈良 fits at 1:1")
        << QStringLiteral("京都") << QStringLiteral("奈良") << design;
}

void TestRouteFit::doubleClickFitsTheWholeRoute()
{
    QFETCH(QString, departure);
    QFETCH(QString, destination);
    QFETCH(QSize, area);
    QFile::remove(m_current.filePath(QStringLiteral("Moravelt.ini")));
    QFile::remove(m_current.filePath(QStringLiteral("moravelt.conf"))); // starts at 1:1
    const QString folder = QFileInfo(QStringLiteral(MORAVELT_SAMPLE_DB)).absolutePath() + '/';
    auto* main = new Form1({folder, m_current.filePath(QStringLiteral("Moravelt.ini")), &m_prompt,
                            m_current.filePath(QStringLiteral("moravelt.conf"))});
    main->load();
    main->show();
    main->resize(main->size() - main->centralWidget()->size() + area);
    QCOMPARE(main->centralWidget()->size(), area);

    form3().Text1()->setText(departure);
    form3().Text2()->setText(destination);
    main->shortestMenu()->trigger();
    QTRY_VERIFY(main->shortestMenu()->isEnabled()); // the search's worker is done
    QVERIFY(form3().routeList().count() > 0);
    form3().List1()->setCurrentIndex(form3().routeList().index(0));
    form3().List1_DblClick();

    const MapImage& image = *main->Image1();
    const std::vector<QPointF>& towns = image.route().points(); // full-size picture pixels
    QVERIFY(towns.size() >= 2);
    const double s = image.scale();
    const QRectF window(QPointF(0, 0), QSizeF(area));
    QRectF box;
    for (const QPointF& town : towns) {
        const QPointF shown = town * s + QPointF(image.pos());
        QVERIFY2(window.adjusted(8, 8, -8, -8).contains(shown),
                 qPrintable(QStringLiteral("a town at %1,%2").arg(shown.x()).arg(shown.y())));
        box |= QRectF(town, QSizeF(0.001, 0.001));
    }
    // The largest level that fits: one level nearer, the route would not fit.
    const int level = image.zoomLevel();
    if (level > 0) {
        const double nearer = MapScale::factor(level - 1);
        const double margin = MapNavigator::kFitMargin / 15;
        QVERIFY(box.width() * nearer + 2 * margin > area.width() ||
                box.height() * nearer + 2 * margin > area.height());
    }
    // No empty band past the map's edge where the map can fill the window.
    const QRect picture = image.geometry();
    for (const auto& [at, drawn, room] :
         {std::tuple(picture.left(), picture.width(), area.width()),
          std::tuple(picture.top(), picture.height(), area.height())}) {
        if (drawn >= room)
            QVERIFY(at <= 0 && at + drawn >= room);
        else
            QVERIFY(std::abs(2 * at + drawn - room) <= 2);
    }
}

QTEST_MAIN(TestRouteFit)
#include "tst_routefit.moc"
