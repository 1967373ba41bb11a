// SPDX-License-Identifier: MIT

#include "windows/navicommands.h"

#include "base/runreported.h"
#include "navi/shortestroutes.h"
#include "navilist/navilistbuilder.h"
#include "navilist/navisearchrun.h"
#include "navilist/routelistmodel.h"
#include "session/gamesession.h"
#include "windows/form3.h"
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
    // The runner shares the session, so its worker never outlives the roads it reads.
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
    connect(m_searchRun, &NaviSearchRun::finished, m_status, &SearchStatus::searchEnded);
    connect(m_searchRun, &NaviSearchRun::captionChanged, this, &NaviCommands::captionChanged);
}

NaviCommands::~NaviCommands()
{
    cancel();
}

void NaviCommands::cancel()
{
    if (!m_searchRun)
        return;
    // A question box of the runner's may still be open further up the stack: the runner is
    // stopped now and deleted once its handler has returned.
    m_searchRun->cancel();
    m_searchRun->disconnect(this);
    m_searchRun->deleteLater(); // or with this object, if no event loop runs again

    m_searchRun = nullptr;
}

void NaviCommands::MoraveltNavi(int level)
{
    if (!m_searchRun || m_searchRun->isRunning())
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
    if (!m_searchRun || m_searchRun->isRunning())
        return;
    runReported(m_prompt, [this] {
        const std::shared_ptr<const RoadGraph> roads = m_session->roads();
        const QString departure = m_navi.Text1()->text();
        const QString destination = m_navi.Text2()->text();
        const QStringList routes =
            ShortestRoutes::find(*roads, departure, destination, ShortestRoutes::kCount,
                                 m_status->hiddenRoads(departure, destination));
        m_navi.routeList().clear();
        m_navi.routeList().addRoutes(routes);
        m_navi.List1()->show();
        emit routeListFilled();
    });
    emit captionChanged(NaviSearchRun::kNormalCaption);
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
