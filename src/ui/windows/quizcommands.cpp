// SPDX-License-Identifier: MIT

#include "windows/quizcommands.h"

#include "base/playermessage.h"
#include "base/runreported.h"
#include "mapview/routeonmap.h"
#include "quiz/journeyplanner.h"
#include "quiz/scorestore.h"
#include "session/gamesession.h"
#include "windows/form3.h"
#include "windows/journeywindow.h"
#include "windows/recordswindow.h"

#include <QAction>
#include <QListView>
#include <QMenuBar>
#include <QRandomGenerator>

namespace moravelt {

namespace {

void bringUp(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

QuizCommands::QuizCommands(QuizSetup setup, QMenuBar& bar, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)),
      m_journeyMenu(bar.addAction(QStringLiteral("旅クイズ"))),
      m_recordsMenu(bar.addAction(QStringLiteral("記録")))
{
    // Menu-bar entries show no shortcut; the README names them.
    m_journeyMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    m_recordsMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    for (QAction* action : {m_journeyMenu, m_recordsMenu})
        action->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_journeyMenu, &QAction::triggered, this, &QuizCommands::startJourney);
    connect(m_recordsMenu, &QAction::triggered, this, &QuizCommands::showRecords);
    connect(&m_setup.navi, &Form3::routeChosen, this,
            [this](const QString& route) { m_shownRoute = route; });
    connect(this, &QuizCommands::stopReached, &m_setup.map, &RouteOnMap::markStop);
    connect(this, &QuizCommands::journeyClosed, &m_setup.map, &RouteOnMap::clearStop);
}

QuizCommands::~QuizCommands()
{
    // The menu entries go with this object: they belong to the menu bar otherwise.
    delete m_journeyMenu.data();
    delete m_recordsMenu.data();
}

QString QuizCommands::chosenRoute() const
{
    const QListView& list = *m_setup.navi.List1();
    if (list.isHidden() && !m_shownRoute.isEmpty())
        return m_shownRoute;
    const QModelIndex current = list.currentIndex();
    return current.isValid() ? current.data().toString() : QString();
}

ScoreStore* QuizCommands::store()
{
    if (!m_storeTried) {
        m_storeTried = true;
        try {
            m_store = std::make_unique<ScoreStore>(
                m_setup.scoresPath.isEmpty() ? ScoreStore::defaultPath() : m_setup.scoresPath);
        } catch (...) {
            m_storeFailure = playerMessage();
            m_setup.prompt.reportError(m_storeFailure);
        }
    }
    return m_store.get();
}

void QuizCommands::startJourney()
{
    if (m_journeyWindow && m_journeyWindow->isPlaying() && m_journeyWindow->isVisible()) {
        bringUp(*m_journeyWindow);
        return;
    }
    runReported(m_setup.prompt, [this] {
        const quint32 seed = QRandomGenerator::global()->generate();
        const JourneyPlanner planner(m_setup.session->map());
        const QString route = chosenRoute();
        Journey journey(route.isEmpty() ? planner.random(seed) : planner.along(route, seed));
        // Whether the records can be kept is said before the first card, not after the last.
        store();
        if (!m_journeyWindow) {
            m_journeyWindow = std::make_unique<JourneyWindow>();
            connect(m_journeyWindow.get(), &JourneyWindow::stopShown, this,
                    &QuizCommands::stopReached);
            connect(m_journeyWindow.get(), &JourneyWindow::finished, this, &QuizCommands::record);
            connect(m_journeyWindow.get(), &JourneyWindow::closed, this,
                    &QuizCommands::journeyClosed);
        }
        m_journeyWindow->start(std::move(journey));
        bringUp(*m_journeyWindow);
    });
}

void QuizCommands::record(const ScoreRecord& finished)
{
    ScoreStore* records = store();
    if (!records) {
        m_journeyWindow->setRecordNote(QStringLiteral("記録は残りません"));
        return;
    }
    std::optional<int> before;
    const bool stored = runReported(m_setup.prompt, [&] {
        before = records->bestOf(finished.route);
        records->add(finished);
    });
    if (!stored) {
        // Said once; the game goes on without records.
        m_storeFailure = QStringLiteral("記録を書き込めませんでした");
        m_store.reset();
        m_journeyWindow->setRecordNote(QStringLiteral("記録は残りません"));
        return;
    }
    m_journeyWindow->setRecordNote(
        before && *before >= finished.score
            ? QStringLiteral("このルートの最高得点　%1 点").arg(*before)
            : QStringLiteral("このルートの最高得点　%1 点（新記録！）").arg(finished.score));
    refreshRecords();
}

void QuizCommands::showRecords()
{
    if (!m_recordsWindow)
        m_recordsWindow = std::make_unique<RecordsWindow>();
    store();
    refreshRecords();
    bringUp(*m_recordsWindow);
}

void QuizCommands::refreshRecords()
{
    if (!m_recordsWindow)
        return;
    if (!m_store) {
        m_recordsWindow->showUnavailable(m_storeFailure);
        return;
    }
    runReported(m_setup.prompt, [this] {
        m_recordsWindow->showRecords(m_store->best(RecordsWindow::kRows),
                                     m_store->latest(RecordsWindow::kRows));
    });
}

} // namespace moravelt
