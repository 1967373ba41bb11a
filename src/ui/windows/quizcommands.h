// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/scorerecord.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QAction;
class QMenuBar;

namespace moravelt {

class Form3;
class GameSession;
class JourneyWindow;
class Prompt;
class RecordsWindow;
class RouteOnMap;
class ScoreStore;

// What 旅クイズ needs from the game: the open map, the navi list window the route comes from,
// the map that shows each stop, the message boxes and where the records are kept.
struct QuizSetup
{
    std::shared_ptr<GameSession> session;
    Form3& navi;
    RouteOnMap& map;
    Prompt& prompt;
    QString scoresPath; // empty: ScoreStore::defaultPath()
};

// The main window's "旅クイズ" and "記録" entries, put on its menu bar after the others, and
// the two windows they open. The records are opened when first needed; a file that cannot be
// used is said once, and the game goes on without records.
class QuizCommands : public QObject
{
    Q_OBJECT
public:
    QuizCommands(QuizSetup setup, QMenuBar& bar, QObject* parent = nullptr);
    ~QuizCommands() override;

    QAction* journeyMenu() const { return m_journeyMenu; }
    QAction* recordsMenu() const { return m_recordsMenu; }
    JourneyWindow* journeyWindow() const { return m_journeyWindow.get(); }
    RecordsWindow* recordsWindow() const { return m_recordsWindow.get(); }

    // The route a journey follows now: the one whose navigation list is shown, else the one
    // selected in the route list; empty for a journey of towns drawn at random.
    QString chosenRoute() const;
    // "旅クイズ": a journey along the chosen route, or a random one; a journey under way is
    // brought to the front instead.
    void startJourney();
    // "記録"
    void showRecords();

signals:
    // The journey has reached this town: the map marks it and brings it to the middle.
    void stopReached(const QString& town);
    void journeyClosed();

private:
    // The records, opened at the first call; nothing once they could not be.
    ScoreStore* store();
    void record(const ScoreRecord& finished);
    void refreshRecords();

    QuizSetup m_setup;
    QPointer<QAction> m_journeyMenu;
    QPointer<QAction> m_recordsMenu;
    QString m_shownRoute;
    std::unique_ptr<ScoreStore> m_store;
    bool m_storeTried = false;
    QString m_storeFailure;
    std::unique_ptr<JourneyWindow> m_journeyWindow;
    std::unique_ptr<RecordsWindow> m_recordsWindow;
};

} // namespace moravelt
