// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/recordsetmodel.h"
#include "settings/extrasettings.h"
#include "settings/savedata.h"
#include "windows/windowplaces.h"
#include "windows/windowsettings.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QMenu;

namespace moravelt {

class Form2;
class Form3;
class GameSession;
class MapCommands;
class MapImage;
class MapInput;
class NaviCommands;
class NaviSearchRun;
class Prompt;
class QuerySlots;
class QuizCommands;
class WindowMenu;
struct PlaceLookupResult;

// What the main window needs from outside: where the map files and the settings live, and
// how to show message boxes.
struct Form1Setup
{
    QString programFolder; // the folder the map files are read from (see DataFolder)
    QString settingsPath;  // "Moravelt.ini" in the current directory
    Prompt* prompt = nullptr;
    // What additions keep beside it (zoom, switches, window states); see ExtraSettings.
    QString extraSettingsPath = ExtraSettings::defaultPath();
    QString scoresPath{}; // 旅クイズ's records; empty: ScoreStore::defaultPath()
    // Without it (Wayland) the stored window positions are kept as read; see WindowSettings.
    bool windowPlacesReported = WindowPlaces::reportedByPlatform();
};

// The main window: the map picture and the menu bar. It owns the two other windows, which
// exist from its construction on, and, once loaded, the game's session; the work is done by
// the classes it wires together.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form1(Form1Setup setup, QWidget* parent = nullptr);
    ~Form1() override;

    // The load sequence. Throws MoraveltError naming the file that stopped start-up.
    void load();
    // The exit sequence; each step runs even when an earlier one failed.
    void runExitSequence();
    // From the start of the exit sequence on.
    bool exiting() const { return m_exited; }

    void SaveDataGet();
    void SaveDataPut();
    void SettingFrm(QWidget& frm) { WindowSettings::SettingFrm(frm); }

    // "ナビ作成": searches the routes from the departure to the destination of the navi list
    // window. Ignored while a search runs.
    void MoraveltNavi();
    // "最短ルート": lists the ten shortest routes at once, or says why there are none.
    void ShortestNavi();
    // Turns a route string into the navigation list of the navi list window.
    void NaveSet(const QString& strRuto);
    NaviSearchRun* searchRun() const;

    Form2& info() const { return *m_form2; }
    Form3& navi() const { return *m_form3; }
    MapImage* Image1() const { return m_image1; }
    MapInput* mapInput() const { return m_mapInput; }
    QAction* menu(int index) const { return m_menu.at(std::size_t(index)); }
    QAction* mn0(int index) const { return m_mn0.at(std::size_t(index)); }
    QAction* mn1(int index) const { return m_mn1.at(std::size_t(index)); }
    QMenu* destinationPopup() const { return m_destinationPopup; }
    // Beside the menu arrays: "ルートを地図に表示" after "答えも表示", and "最短ルート" on
    // the menu bar after "ナビ作成".
    QAction* routeOnMapItem() const { return m_routeOnMapItem; }
    QAction* shortestMenu() const { return m_shortestMenu; }
    // "旅クイズ" and "記録", on the menu bar after the others once the map is open.
    QuizCommands* quiz() const { return m_quiz; }
    // "表示" and "地名検索", after the others.
    MapCommands& mapCommands() const { return *m_mapCommands; }
    // "ウィンドウ", last once the map is open.
    WindowMenu* windowMenu() const { return m_windowMenu; }
    WindowSettings& windowSettings() { return m_settings; }

    SaveData& saveData() { return m_settings.record(); }
    ExtraSettings& extraSettings() { return m_extra; }
    Prompt& prompt() const { return *m_setup.prompt; }
    QuerySlots& querySlots();
    RecordsetModel* DataGrid1() const { return m_dataGrid1; }
    RecordsetModel* DataGrid2() const { return m_dataGrid2; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void wireWindows();
    void openMap(const QString& folder);
    void mn1_Click(int index);
    // Lets go of the map: whatever refers to the session goes before it.
    void closeMap();

    Form1Setup m_setup;
    // Declared first, so that they outlive every member and child below that refers to them.
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    MapImage* m_image1;
    MapInput* m_mapInput;
    RecordsetModel* m_dataGrid1;
    RecordsetModel* m_dataGrid2;
    std::array<QAction*, 3> m_menu{};
    std::array<QAction*, 1> m_mn0{};
    std::array<QAction*, 2> m_mn1{};
    QMenu* m_destinationPopup = nullptr;
    QAction* m_routeOnMapItem = nullptr;
    QAction* m_shortestMenu = nullptr;
    ExtraSettings m_extra; // before the settings, which keep the windows' states in it
    WindowSettings m_settings;
    std::shared_ptr<GameSession> m_session;
    QPointer<NaviCommands> m_commands;
    QuizCommands* m_quiz = nullptr;
    MapCommands* m_mapCommands = nullptr;
    WindowMenu* m_windowMenu = nullptr;
    bool m_exited = false;
};

} // namespace moravelt
