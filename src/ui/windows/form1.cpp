// SPDX-License-Identifier: MIT

#include "windows/form1.h"

#include "base/moravelterror.h"
#include "base/runreported.h"
#include "base/twips.h"
#include "lookup/placelookup.h"
#include "mapdb/mapdatabase.h"
#include "mapview/mapimage.h"
#include "mapview/mapinput.h"
#include "navilist/navisearchrun.h"
#include "session/gamesession.h"
#include "settings/placement.h"
#include "windows/designlayout.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/mapcommands.h"
#include "windows/navicommands.h"
#include "windows/quizcommands.h"
#include "windows/townnameentry.h"
#include "windows/windowmenu.h"
#include "windows/windowrefs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QTableView>

namespace moravelt {

Form1::Form1(Form1Setup setup, QWidget* parent)
    : QMainWindow(parent), m_setup(std::move(setup)), m_form2(std::make_unique<Form2>()),
      m_form3(std::make_unique<Form3>()), m_image1(new MapImage),
      m_mapInput(new MapInput(*m_image1, prompt(), this)), m_dataGrid1(new RecordsetModel(this)),
      m_dataGrid2(new RecordsetModel(this)), m_extra(m_setup.extraSettingsPath),
      m_settings(*this, *m_form2, *m_form3, m_setup, m_extra)
{
    registerWindows(this, m_form2.get(), m_form3.get());
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
    m_mapCommands = new MapCommands(*this);
    resize(DesignLayout::size(6735, 8445) + QSize(0, menuBar()->sizeHint().height()));
    wireWindows();
}

Form1::~Form1()
{
    closeMap();
    // No event loop runs again: a runner handed to deleteLater goes now, before what it uses.
    delete m_commands.data();
    registerWindows(nullptr, nullptr, nullptr);
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

void Form1::wireWindows()
{
    connect(m_mn0[0], &QAction::toggled, m_mapInput, &MapInput::setAnswersShown);
    connect(m_mapInput, &MapInput::placeFound, this, [this](const PlaceLookupResult& place) {
        m_dataGrid1->setRecordset(place.hit);
        m_dataGrid2->setRecordset(place.lastReadRow);
        m_form2->showPlace(place);
    });
    connect(m_mapInput, &MapInput::destinationMenuRequested, this,
            [this](const QPoint& at) { m_destinationPopup->popup(at); });
    connect(m_form2.get(), &Form2::unloaded, this,
            [this](const TwipsRect& g) { m_settings.storeInfoWindow(g); });
    connect(m_form3.get(), &Form3::unloaded, this,
            [this](const TwipsRect& g, const QString& depart, const QString& dest) {
                m_settings.storeNaviWindow(g, depart, dest);
            });
    connect(m_form3.get(), &Form3::routeChosen, this,
            [this](const QString& strRuto) { runReported(prompt(), [&] { NaveSet(strRuto); }); });
    connect(m_form3.get(), &Form3::copied, this,
            [this] { prompt().inform(QStringLiteral("ナビリストをコピーしました")); });
    connect(m_form3.get(), &Form3::seidoLevelChanged, this,
            [this](std::int16_t level) { m_settings.record().SeidoLevel = level; });
}

QuerySlots& Form1::querySlots()
{
    if (!m_session)
        throw MoraveltError(QStringLiteral("地図データベースが開かれていません"));
    return m_session->querySlots();
}

NaviSearchRun* Form1::searchRun() const
{
    return m_commands ? m_commands->searchRun() : nullptr;
}

void Form1::load()
{
    // Native windows first, so that the frames are known when the places are computed.
    winId();
    m_form2->winId();
    m_form3->winId();
    SaveDataGet();

    QString folder = m_setup.programFolder;
    DirPathGet(folder);
    openMap(folder);

    m_image1->loadPicture(folder + QStringLiteral("map.jpg"));

    m_menu[1]->setVisible(false);
    m_form3->menu(1)->setVisible(false);
    m_form3->MSFlexGrid1()->setColumnWidth(4, Twips::toPixels(1500));
    m_windowMenu = new WindowMenu(*menuBar(), *m_form2, *m_form3, m_mapCommands->viewMenu(), this);
    connect(m_commands, &NaviCommands::routeListFilled, m_windowMenu, &WindowMenu::showNavi);
    m_settings.showSecondaryWindows();
}

void Form1::openMap(const QString& folder)
{
    m_session = std::make_shared<GameSession>(MapDatabase::connectionString(folder));
    // The lookup shares the session, so the slots it reads through outlive it.
    m_mapInput->setSlots(std::shared_ptr<QuerySlots>(m_session, &m_session->querySlots()));
    m_commands = new NaviCommands(m_session, *m_form3, prompt(), *m_mn0[0], this);
    for (QAction* command : {m_menu[2], m_shortestMenu})
        connect(m_commands, &NaviCommands::searchRunning, command,
                [command](bool running) { command->setEnabled(!running); });
    connect(m_commands, &NaviCommands::captionChanged, this, &QWidget::setWindowTitle);
    m_mapCommands->openMap(m_session->townPlaces(), m_session->names());
    m_quiz = new QuizCommands(
        {m_session, *m_form3, *m_mapCommands->routeOnMap(), prompt(), m_setup.scoresPath},
        *menuBar(), this);
    for (QLineEdit* box : {m_form3->Text1(), m_form3->Text2()})
        connect(new TownNameEntry(*box, m_session->names()), &TownNameEntry::submitted, this,
                &Form1::MoraveltNavi);
}

void Form1::closeMap()
{
    delete m_quiz;
    m_quiz = nullptr;
    m_mapCommands->closeMap();
    if (m_commands) {
        // A search's question box may still be open up the stack: they go once it returns.
        m_commands->cancel();
        m_commands->deleteLater();
    }
    m_mapInput->setSlots(nullptr);
    m_session.reset();
}

void Form1::MoraveltNavi()
{
    if (m_commands)
        m_commands->MoraveltNavi(m_settings.record().SeidoLevel);
}

void Form1::ShortestNavi()
{
    if (m_commands)
        m_commands->ShortestNavi();
}

void Form1::NaveSet(const QString& strRuto)
{
    if (!m_commands)
        throw MoraveltError(QStringLiteral("地図データベースが開かれていません"));
    m_commands->NaveSet(strRuto);
}

void Form1::SaveDataGet()
{
    m_settings.SaveDataGet();
}

void Form1::SaveDataPut()
{
    m_settings.SaveDataPut();
}

void Form1::mn1_Click(int index)
{
    const QString town = m_form2->windowTitle();
    (index == 0 ? m_form3->Text1() : m_form3->Text2())->setText(town);
}

void Form1::runExitSequence()
{
    if (m_exited)
        return;
    m_exited = true;
    // A failing step is passed over so that the settings are still written.
    auto step = [](auto&& action) {
        try {
            action();
        } catch (...) {
        }
    };
    step([this] {
        if (m_commands)
            m_commands->cancel();
    });
    for (QWidget* side :
         {static_cast<QWidget*>(m_form2.get()), static_cast<QWidget*>(m_form3.get())})
        step([side] { side->close(); });
    step([this] { closeMap(); });
    // The settings are the player's: a failed save is said once, and the game still ends.
    runReported(prompt(), [this] { SaveDataPut(); });
    m_extra.sync();
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event)
{
    runExitSequence();
    event->accept();
}

} // namespace moravelt
