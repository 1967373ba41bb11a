#include "app/form1.h"

#include "app/designlayout.h"
#include "app/form2.h"
#include "app/form3.h"
#include "app/moravelterror.h"
#include "app/placement.h"
#include "app/prompt.h"
#include "app/runreported.h"
#include "app/townnameentry.h"
#include "app/twips.h"
#include "app/windowrefs.h"
#include "mapview/mapimage.h"
#include "mapview/mapinput.h"
#include "mapview/routeonmap.h"
#include "navi/flexgridmodel.h"
#include "navi/navilistbuilder.h"
#include "navi/navisearchrun.h"
#include "navi/roadgraph.h"
#include "navi/routelistmodel.h"
#include "navi/shortestroutes.h"
#include "navi/townnameindex.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QImageReader>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QTableView>

namespace moravelt {

Form1::Form1(Form1Setup setup, QWidget* parent)
    : QMainWindow(parent), m_setup(std::move(setup)), m_settings(*this, m_setup.settingsPath),
      m_image1(new MapImage), m_mapInput(new MapInput(*this, *m_image1)),
      m_dataGrid1(new RecordsetModel(this)), m_dataGrid2(new RecordsetModel(this))
{
    registerForm1(this);
    setWindowTitle(QStringLiteral("!モラベルト"));
    auto* client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    m_image1->setParent(client);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(DesignLayout::rect(60, 60, 1755, 1575));
    m_image1->setLeftTwips(60);
    m_image1->setTopTwips(60);
    buildMenus();
    resize(DesignLayout::size(6735, 8445) + QSize(0, menuBar()->sizeHint().height()));

    connect(&form2(), &Form2::unloaded, this,
            [this](const TwipsRect& g) { m_settings.storeInfoWindow(g); });
    connect(&form3(), &Form3::unloaded, this,
            [this](const TwipsRect& g, const QString& depart, const QString& dest) {
                m_settings.storeNaviWindow(g, depart, dest);
            });
    connect(&form3(), &Form3::routeChosen, this,
            [this](const QString& strRuto) { runReported(prompt(), [&] { NaveSet(strRuto); }); });
    connect(&form3(), &Form3::copied, this,
            [this] { prompt().inform(QStringLiteral("ナビリストをコピーしました")); });
    connect(&form3(), &Form3::seidoLevelChanged, this,
            [this](std::int16_t level) { m_settings.record().SeidoLevel = level; });
}

Form1::~Form1()
{
    registerForm1(nullptr);
}

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* first = bar->addMenu(QStringLiteral("menu"));
    m_menu[0] = first->menuAction();
    m_mn0[0] = first->addAction(QStringLiteral("答えも表示"));
    m_mn0[0]->setCheckable(true);
    m_routeOnMapItem = first->addAction(QStringLiteral("ルートを地図に表示"));
    m_routeOnMapItem->setCheckable(true);
    m_routeOnMapItem->setChecked(true);

    m_destinationPopup = bar->addMenu(QStringLiteral("目的地"));
    m_menu[1] = m_destinationPopup->menuAction();
    m_mn1[0] = m_destinationPopup->addAction(QStringLiteral("出発地"));
    m_mn1[1] = m_destinationPopup->addAction(QStringLiteral("目的地"));
    for (int i = 0; i < 2; ++i)
        connect(m_mn1[std::size_t(i)], &QAction::triggered, this, [this, i] { mn1_Click(i); });

    m_menu[2] = bar->addAction(QStringLiteral("ナビ作成"));
    connect(m_menu[2], &QAction::triggered, this, &Form1::MoraveltNavi);
    m_shortestMenu = bar->addAction(QStringLiteral("最短ルート"));
    connect(m_shortestMenu, &QAction::triggered, this, &Form1::ShortestNavi);
}

QuerySlots& Form1::querySlots()
{
    if (!m_slots)
        throw MoraveltError(QStringLiteral("地図データベースが開かれていません"));
    return *m_slots;
}

void Form1::load()
{
    // Native windows first, so that the frames are known when the places are computed.
    winId();
    form2().winId();
    form3().winId();
    SaveDataGet();

    QString folder = m_setup.programFolder;
    DirPathGet(folder);
    m_cn = std::make_unique<MapDatabase>(MapDatabase::connectionString(folder));
    m_slots = std::make_unique<QuerySlots>(*m_cn);
    m_mapInput->setSlots(m_slots.get());
    m_searchRun = new NaviSearchRun(*m_cn, form3().routeList(), prompt(), this);
    connect(m_searchRun, &NaviSearchRun::started, this, [this] {
        form3().List1()->show();
        m_menu[2]->setEnabled(false);
    });
    connect(m_searchRun, &NaviSearchRun::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_searchRun, &NaviSearchRun::finished, this, [this] { m_menu[2]->setEnabled(true); });
    connect(m_searchRun, &NaviSearchRun::started, this,
            [this] { m_shortestMenu->setEnabled(false); });
    connect(m_searchRun, &NaviSearchRun::finished, this,
            [this] { m_shortestMenu->setEnabled(true); });
    m_routeOnMap = new RouteOnMap(*m_image1, *centralWidget(), *form3().List1(),
                                  TownPlaces::load(*m_cn), this);
    connect(m_routeOnMapItem, &QAction::toggled, m_routeOnMap, &RouteOnMap::setShown);
    connect(&form3(), &Form3::routeChosen, m_routeOnMap, &RouteOnMap::centre);
    // Completion is a help: a map whose names cannot be read offers none, and the game starts.
    auto names = std::make_shared<const TownNameIndex>();
    try {
        names = std::make_shared<const TownNameIndex>(TownNameIndex::load(*m_cn));
    } catch (const MoraveltError&) {
    }
    for (QLineEdit* box : {form3().Text1(), form3().Text2()})
        connect(new TownNameEntry(*box, names), &TownNameEntry::submitted, this,
                &Form1::MoraveltNavi);

    const QString pictureFile = folder + QStringLiteral("map.jpg");
    QImageReader reader(pictureFile);
    QImage picture = reader.read();
    if (picture.isNull())
        throw MoraveltError(QStringLiteral("「map.jpg」を読み込めません: %1 (%2)")
                                .arg(reader.errorString(), pictureFile));
    m_image1->setPicture(std::move(picture));

    m_menu[1]->setVisible(false);
    form3().menu(1)->setVisible(false);
    form3().MSFlexGrid1()->setColumnWidth(4, Twips::toPixels(1500));
    form2().show();
    form3().show();
}

void Form1::MoraveltNavi()
{
    if (!m_searchRun || m_searchRun->isRunning())
        return;
    runReported(prompt(), [this] {
        m_searchRun->start(form3().Text1()->text(), form3().Text2()->text(),
                           m_settings.record().SeidoLevel);
    });
}

void Form1::ShortestNavi()
{
    if (!m_cn || (m_searchRun && m_searchRun->isRunning()))
        return;
    runReported(prompt(), [this] {
        const QStringList routes = ShortestRoutes::find(
            RoadGraph::load(*m_cn), form3().Text1()->text(), form3().Text2()->text());
        form3().routeList().clear();
        form3().routeList().addRoutes(routes);
        form3().List1()->show();
    });
    setWindowTitle(NaviSearchRun::kNormalCaption);
}

void Form1::NaveSet(const QString& strRuto)
{
    QTableView* grid = form3().MSFlexGrid1();
    grid->setVisible(false);
    try {
        NaviListBuilder(querySlots()).NaveSet(strRuto, m_mn0[0]->isChecked(), form3().naviGrid());
    } catch (...) {
        // Whatever was built stays readable; the failure itself is reported by the caller.
        grid->setVisible(true);
        throw;
    }
    grid->setVisible(true);
}

void Form1::SaveDataGet()
{
    m_settings.SaveDataGet();
}

void Form1::SaveDataPut()
{
    m_settings.SaveDataPut();
}

void Form1::SettingFrm(QWidget& frm)
{
    WindowSettings::SettingFrm(frm);
}

void Form1::mn1_Click(int index)
{
    const QString town = form2().windowTitle();
    if (index == 0)
        form3().Text1()->setText(town);
    else
        form3().Text2()->setText(town);
}

void Form1::runExitSequence()
{
    if (m_exited)
        return;
    m_exited = true;
    auto step = [this](auto&& action) {
        try {
            action();
        } catch (...) {
            // A failing step is passed over so that the settings are still written.
        }
    };
    step([this] {
        if (m_searchRun)
            m_searchRun->cancel();
    });
    step([] {
        if (form2Exists() && form2().isLoaded())
            form2().close();
    });
    step([] {
        if (form3Exists() && form3().isLoaded())
            form3().close();
    });
    step([this] {
        m_mapInput->setSlots(nullptr);
        delete m_searchRun;
        m_searchRun = nullptr;
        m_slots.reset();
        m_cn.reset();
    });
    // The settings are the player's: a failed save is said once, and the game still ends.
    runReported(prompt(), [this] { SaveDataPut(); });
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event)
{
    runExitSequence();
    event->accept();
}

} // namespace moravelt
