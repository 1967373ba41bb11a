// SPDX-License-Identifier: MIT

#include "windows/searchstatus.h"

#include "navi/hiddentownroads.h"
#include "navi/roadgraph.h"
#include "navilist/routelistmodel.h"
#include "session/gamesession.h"
#include "windows/form3.h"

#include <QAction>
#include <QListView>

namespace moravelt {

SearchStatus::SearchStatus(std::shared_ptr<GameSession> session, Form3& navi, QObject* parent)
    : QObject(parent), m_session(std::move(session)), m_navi(navi)
{
}

bool SearchStatus::allowSearch(const QString& departure, const QString& destination, int level)
{
    m_navi.setStatusText({});
    m_departure = departure;
    m_destination = destination;
    m_level = level;
    // The search would only walk the map to find nothing: it is not started.
    const std::shared_ptr<const RoadGraph> roads = m_session->roads();
    const TownPairCheck::Finding finding =
        TownPairCheck(*roads,
                      HiddenTownRoads::read(m_session->map(), *roads, {departure, destination}))
            .check(departure, destination);
    if (finding.reason == TownPairCheck::Reason::None)
        return true;
    m_navi.routeList().clear();
    m_navi.List1()->show();
    m_navi.setStatusText(finding.message);
    return false;
}

void SearchStatus::searchEnded(bool walkedToTheEnd)
{
    // After a limit or a failure the player has had its message: the precision is not to blame.
    if (!walkedToTheEnd || m_navi.routeList().count() > 0)
        return;
    const QString precision = m_level >= 0 && m_level < 5 ? m_navi.mn2(m_level)->text() : QString();
    m_navi.setStatusText(TownPairCheck::noRoute(m_departure, m_destination, precision).message);
}

TownPairCheck::HiddenRoads SearchStatus::hiddenRoads(const QString& departure,
                                                     const QString& destination)
{
    m_navi.setStatusText({});
    // While the roads are still being read, both names are looked up among the hidden towns
    // rather than waiting here: the check on the worker asks the roads first.
    static const RoadGraph noRoads;
    const std::shared_ptr<const RoadGraph> roads =
        m_session->roadsReady() ? m_session->roads() : nullptr;
    return HiddenTownRoads::read(m_session->map(), roads ? *roads : noRoads,
                                 {departure, destination});
}

} // namespace moravelt
