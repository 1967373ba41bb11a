// SPDX-License-Identifier: MIT

#include "bfsroutesearch.h"

#include "navi/routestring.h"

#include <algorithm>

namespace moravelt::test {

BfsRouteSearch::BfsRouteSearch(const RoadGraph& graph, const QString& departure,
                               const QString& destination, int level, std::int64_t maxPartialRoutes)
    : m_graph(graph), m_maxPartialRoutes(maxPartialRoutes), m_lookBack(std::max(level, 0) + 1),
      m_destination(graph.townId(destination)), m_firstMet(std::size_t(graph.townCount()), -1),
      m_onPath(std::size_t(graph.townCount()), 0)
{
    const int start = graph.townId(departure);
    if (start >= 0)
        m_entries.push_back({start, -1, 0});
}

BfsRouteSearch::Step BfsRouteSearch::step()
{
    Step result;
    result.index = m_step;
    if (m_over) {
        result.frontierEmpty = true;
        return result;
    }
    m_path.push_back(-1);
    // During step k a town first met in step k - lookBack or earlier is not queued again.
    const std::int32_t lastPrunedStep = m_step - m_lookBack;
    const std::size_t frontierEnd = m_entries.size();
    for (std::size_t e = m_frontierBegin; e < frontierEnd && !result.capped; ++e) {
        ++result.expanded;
        followPath(std::int32_t(e));
        const Entry from = m_entries[e];
        for (const RoadGraph::Road& road : m_graph.roadsFrom(from.town)) {
            const std::int32_t candidate = road.to;
            if (m_onPath[std::size_t(candidate)])
                continue;
            const std::int64_t total = from.microKm + road.microKm;
            if (candidate == m_destination) {
                result.routes.append(routeString(total));
                continue;
            }
            std::int32_t& firstMet = m_firstMet[std::size_t(candidate)];
            if (firstMet < 0 || firstMet > lastPrunedStep) {
                if (std::int64_t(m_entries.size()) >= m_maxPartialRoutes) {
                    result.capped = true;
                    break;
                }
                m_entries.push_back({candidate, std::int32_t(e), total});
            }
            if (firstMet < 0) {
                firstMet = m_step;
                result.firstMet.append(m_graph.townName(candidate));
            }
        }
    }
    m_expanded += result.expanded;
    result.frontierEmpty = m_entries.size() == frontierEnd;
    m_over = result.frontierEmpty || result.capped;
    m_frontierBegin = frontierEnd;
    ++m_step;
    return result;
}

void BfsRouteSearch::followPath(std::int32_t entry)
{
    // Frontier entries come grouped under their common ancestors, so usually only the last
    // few legs differ from the partial route expanded before; only those are re-marked.
    m_pending.clear();
    int level = m_step;
    std::int32_t index = entry;
    while (level >= 0 && m_path[std::size_t(level)] != index) {
        m_pending.push_back(index);
        index = m_entries[std::size_t(index)].parent;
        --level;
    }
    for (int l = level + 1; l <= m_step; ++l) {
        const std::int32_t old = m_path[std::size_t(l)];
        if (old >= 0)
            m_onPath[std::size_t(m_entries[std::size_t(old)].town)] = 0;
    }
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        const std::int32_t now = m_pending[i];
        m_path[std::size_t(m_step) - i] = now;
        m_onPath[std::size_t(m_entries[std::size_t(now)].town)] = 1;
    }
}

QString BfsRouteSearch::routeString(std::int64_t microKm) const
{
    QStringList towns;
    for (const std::int32_t entry : m_path)
        towns << m_graph.townName(m_entries[std::size_t(entry)].town);
    towns << m_graph.townName(m_destination);
    return RouteString::make(microKm, towns);
}

std::size_t BfsRouteSearch::memoryBytes() const
{
    return m_entries.size() * sizeof(Entry) + m_firstMet.capacity() * sizeof(std::int32_t) +
           m_onPath.capacity() + (m_path.capacity() + m_pending.capacity()) * sizeof(std::int32_t);
}

} // namespace moravelt::test
