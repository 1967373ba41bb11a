// SPDX-License-Identifier: MIT

#include "navi/routesearch.h"

#include "navi/routestring.h"

#include <algorithm>
#include <limits>

namespace moravelt {

namespace {

// The cancel flag and the clock are looked at once per this many partial routes walked,
// a few microseconds of work.
constexpr std::int64_t kCheckInterval = 1024;

} // namespace

RouteSearch::RouteSearch(const RoadGraph& graph, const QString& departure,
                         const QString& destination, int level, SearchLimits limits,
                         const std::atomic<bool>* stopFlag)
    : m_graph(graph), m_limits(limits), m_level(std::max(level, 0)),
      m_departure(graph.townId(departure)), m_destination(graph.townId(destination)),
      m_kept(
          std::clamp<std::int64_t>(limits.maxRoutes, 0, std::numeric_limits<std::int32_t>::max())),
      m_stopFlag(stopFlag)
{
    // A route never comes back to its departure, so a departure that is also the
    // destination has no route; it is searched like any other town.
    if (m_destination == m_departure)
        m_destination = -1;
    m_limits.maxRoutes =
        std::clamp<std::int64_t>(m_limits.maxRoutes, 0, std::numeric_limits<std::int32_t>::max());
    for (int town = 0; town < graph.townCount(); ++town) {
        for (const RoadGraph::Road& road : graph.roadsFrom(town))
            m_longestRoad = std::max(m_longestRoad, road.microKm);
    }
}

bool RouteSearch::cut(std::int64_t leastMicroKm, int legsLeft) const
{
    if (!cutting())
        return false;
    // Totals of six digits and more sort by text among shorter ones, so the cut needs to
    // know how long the route may become.
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    const std::int64_t most = m_longestRoad > 0 && legsLeft > (kMost - leastMicroKm) / m_longestRoad
                                  ? kMost
                                  : leastMicroKm + legsLeft * m_longestRoad;
    return m_kept.cuts(RouteString::wholeKm(leastMicroKm), RouteString::wholeKm(most));
}

std::size_t RouteSearch::keptBytes() const
{
    return std::size_t(std::min(m_kept.found(), m_limits.maxRoutes)) * kBytesPerKeptRoute;
}

SearchStop RouteSearch::limitReached() const
{
    if (m_cancelled.load(std::memory_order_relaxed) ||
        (m_stopFlag != nullptr && m_stopFlag->load(std::memory_order_relaxed)))
        return SearchStop::Cancelled;
    if (m_elapsed + (std::chrono::steady_clock::now() - m_stepStart) >= m_limits.timeBudget)
        return SearchStop::TimeBudget;
    return SearchStop::None;
}

SearchStep RouteSearch::step()
{
    SearchStep result;
    result.index = m_step;
    if (m_over) {
        result.frontierEmpty = true;
        return result;
    }
    m_stepStart = std::chrono::steady_clock::now();
    const bool wasFull = m_kept.isFull();
    const auto done = [&] {
        m_elapsed += std::chrono::steady_clock::now() - m_stepStart;
        m_expanded += result.expanded;
        result.listFilled = !wasFull && m_kept.isFull();
        m_over = result.frontierEmpty || result.stop != SearchStop::None;
        ++m_step;
        return std::move(result);
    };
    // A departure on no road has nothing to walk: the first step is the last.
    if (m_departure < 0) {
        result.frontierEmpty = true;
        return done();
    }
    if (!m_memo) {
        m_memo = std::make_unique<SearchMemo>(m_graph, m_departure, m_destination, m_level);
        m_towns = std::make_shared<const TownOrder>(m_graph.townNames());
        result.stop = m_memo->build([this] { return limitReached(); }, m_limits.maxStates,
                                    m_limits.memoryBudget);
        if (result.stop != SearchStop::None)
            return done();
    }
    const int legs = m_step + 1;
    result.routes = RouteBatch(m_towns, m_destination, legs);
    for (const std::int32_t town : m_memo->firstMetInStep(m_step))
        result.firstMet << m_graph.townName(town);
    result.frontierEmpty = m_step >= m_memo->endStep();

    const std::uint64_t expected = m_memo->routesInStep(m_step);
    if (expected == 0)
        return done();
    const std::int32_t root = std::int32_t(result.routes.addNode(-1, m_departure));
    result.stop = walk({0, root, 0}, legs, result.routes, result.expanded);
    return done();
}

SearchStop RouteSearch::walk(const Prefix& from, int legs, RouteBatch& out,
                             std::int64_t& expandedTotal)
{
    // Counted here, where it stays in a register, and added once.
    std::int64_t expanded = 0;
    const auto finish = [&](SearchStop stop) {
        expandedTotal += expanded;
        return stop;
    };
    struct Frame
    {
        Prefix at;
        int next;
    };
    std::vector<Frame> stack{{from, 0}};
    stack.reserve(std::size_t(legs) + 1);
    const SearchMemo& memo = *m_memo;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const SearchMemo::State& state = memo.state(frame.at.state);
        const auto roads = m_graph.roadsFrom(state.town);
        if (frame.next == int(roads.size())) {
            stack.pop_back();
            continue;
        }
        const int road = frame.next++;
        const std::int32_t child = memo.child(state, road);
        const std::int64_t total = frame.at.microKm + roads[std::size_t(road)].microKm;
        if (child == SearchMemo::kDestination) {
            if (state.position + 1 != legs || cut(total, 0))
                continue;
            out.addRoute(std::uint32_t(frame.at.node), total);
            m_kept.add(RouteString::wholeKm(total));
            // Routes tied with the cutoff are never cut, and many may tie (roads of 0 km):
            // only the step's first maxRoutes in text order can still enter the list.
            if (m_kept.isFull() && out.size() >= 2 * m_limits.maxRoutes)
                out.keepFirst(int(m_limits.maxRoutes));
            continue;
        }
        const int legsLeft = legs - state.position - 1;
        if (child < 0 || !memo.reaches(child, legsLeft))
            continue;
        if (cutting()) {
            if (m_leastLegs != legs) {
                memo.leastKm(legs, m_least);
                m_leastLegs = legs;
            }
            if (cut(total + m_least[std::size_t(child)], legsLeft))
                continue;
        }
        if (++expanded % kCheckInterval == 0) {
            if (const SearchStop stop = limitReached(); stop != SearchStop::None)
                return finish(stop);
            if (memo.memoryBytes() + out.memoryBytes() + stack.capacity() * sizeof(Frame) +
                    m_least.capacity() * sizeof(std::int64_t) + keptBytes() >
                m_limits.memoryBudget)
                return finish(SearchStop::MemoryBudget);
        }
        const auto node = std::int32_t(out.addNode(frame.at.node, roads[std::size_t(road)].to));
        stack.push_back({{child, node, total}, 0});
    }
    return finish(SearchStop::None);
}

} // namespace moravelt
