// SPDX-License-Identifier: MIT

#include "windows/navicommands.h"

#include "base/runreported.h"
#include "navilist/navilistbuilder.h"
#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "navilist/shortestrun.h"
#include "session/gamesession.h"
#include "windows/form3.h"
#include "windows/roadnotice.h"
#include "windows/searchstatus.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QTableView>

namespace moravelt {

NaviCommands::NaviCommands(std::shared_ptr<GameSession> session, Form3& navi, Prompt& prompt,
                           const QAction& answers, QObject* parent)
    : QObject(parent), m_session(std::move(session)), m_navi(navi), m_prompt(prompt),
      m_answers(answers), m_status(new SearchStatus(m_session, navi, this))
{
    // The runners share the session, so their workers never outlive the roads they read.
    auto roads = [session = m_session](const std::atomic<bool>& cancel) {
        return session->roads(&cancel);
    };
    m_searchRun = new NaviSearchRun(roads, navi.routeList(), prompt, this);
    connect(m_searchRun, &NaviSearchRun::started, this, [this] {
        m_navi.List1()->show();
        emit searchRunning(true);
        emit routeListFilled();
    });
    connect(m_searchRun, &NaviSearchRun::finished, this, [this] { emit searchRunning(false); });
    connect(m_searchRun, &NaviSearchRun::finished, this,
            [this, run = m_searchRun.data()] { m_status->searchEnded(run->walkedToTheEnd()); });
    connect(m_searchRun, &NaviSearchRun::captionChanged, this, &NaviCommands::captionChanged);

    m_shortestRun = new ShortestRun(roads, navi.routeList(), prompt, this);
    connect(m_shortestRun, &ShortestRun::started, this, [this] { emit searchRunning(true); });
    connect(m_shortestRun, &ShortestRun::finished, this, [this](bool listed) {
        if (listed) {
            m_navi.List1()->show();
            emit routeListFilled();
        }
        emit captionChanged(NaviSearchRun::kNormalCaption);
        emit searchRunning(false);
    });

    // Roads the map holds but no search can use are named once, when the roads are read.
    auto* notice = new RoadNotice(m_session, prompt, this);
    connect(this, &NaviCommands::searchRunning, notice, &RoadNotice::hold);
}

bool NaviCommands::searching() const
{
    return !m_searchRun || !m_shortestRun || m_searchRun->isRunning() || m_shortestRun->isRunning();
}

NaviCommands::~NaviCommands()
{
    cancel();
}

void NaviCommands::cancel()
{
    // A message box of a runner's may still be open further up the stack: the runners are
    // stopped now and deleted once its handler has returned (or with this object, if no
    // event loop runs again).
    if (m_searchRun) {
        m_searchRun->cancel();
        m_searchRun->disconnect(this);
        m_searchRun->deleteLater();
        m_searchRun = nullptr;
    }
    if (m_shortestRun) {
        m_shortestRun->cancel();
        m_shortestRun->disconnect(this);
        m_shortestRun->deleteLater();
        m_shortestRun = nullptr;
    }
}

void NaviCommands::MoraveltNavi(int level)
{
    if (searching())
        return;
    runReported(m_prompt, [this, level] {
        const QString departure = m_navi.Text1()->text();
        const QString destination = m_navi.Text2()->text();
        if (m_status->allowSearch(departure, destination, level))
            m_searchRun->start(departure, destination, level);
    });
}

void NaviCommands::ShortestNavi()
{
    if (searching())
        return;
    runReported(m_prompt, [this] {
        const QString departure = m_navi.Text1()->text();
        const QString destination = m_navi.Text2()->text();
        // The hidden towns are read here, on the connection's thread; the walk runs on a worker.
        m_shortestRun->start(departure, destination, m_status->hiddenRoads(departure, destination));
    });
}

void NaviCommands::NaveSet(const QString& strRuto)
{
    QTableView* grid = m_navi.MSFlexGrid1();
    grid->setVisible(false);
    try {
        NaviListBuilder(m_session->querySlots())
            .NaveSet(strRuto, m_answers.isChecked(), m_navi.naviGrid());
    } catch (...) {
        // Whatever was built stays readable; the failure itself is reported by the caller.
        grid->setVisible(true);
        throw;
    }
    grid->setVisible(true);
}

} // namespace moravelt
