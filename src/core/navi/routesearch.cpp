// SPDX-License-Identifier: MIT

#include "navi/routesearch.h"

#include "navi/routestring.h"

#include <algorithm>
#include <cmath>
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
}

bool RouteSearch::cut(std::int64_t leastMicroKm, std::int64_t mostMicroKm) const
{
    return cutting() &&
           m_kept.cuts(RouteString::wholeKm(leastMicroKm), RouteString::wholeKm(mostMicroKm));
}

std::size_t RouteSearch::keptBytes(int stepRoutes) const
{
    // The batches given out stay in the list; the step's own batch is counted by the walk.
    // Each route the list will hold once the step is merged adds its place in the sort and
    // in the list.
    return m_givenBytes +
           std::size_t(std::min(m_foundBeforeStep + stepRoutes, m_limits.maxRoutes)) *
               kBytesPerListedRoute;
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
    m_foundBeforeStep = m_kept.found();
    const auto done = [&] {
        m_elapsed += std::chrono::steady_clock::now() - m_stepStart;
        m_expanded += result.expanded;
        result.listFilled = !wasFull && m_kept.isFull();
        m_givenBytes += result.routes.filledBytes();
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
    m_bandLow = -1;
    m_bandHigh = kNoBound;
    // A step that cannot fill the list is walked whole, in row order, as before it is full.
    const bool mayFill =
        m_limits.maxRoutes > 0 &&
        expected > std::uint64_t(std::max<std::int64_t>(m_limits.maxRoutes - m_foundBeforeStep, 0));
    result.stop = mayFill ? walkInBands(root, legs, result.routes, result.expanded)
                          : walk({0, root, 0}, legs, result.routes, result.expanded);
    m_bandLow = -1;
    m_bandHigh = kNoBound;
    return done();
}

SearchStop RouteSearch::walkInBands(std::int32_t root, int legs, RouteBatch& out,
                                    std::int64_t& expanded)
{
    prepareBounds(legs);
    const std::int64_t least = RouteString::wholeKm(m_least.front());
    const std::int64_t most = RouteString::wholeKm(m_most.front());
    // Routes the list should hold after the last band; a little more than it keeps, so that
    // a band too narrow by a little needs no further band.
    const double wanted = double(m_limits.maxRoutes) * 1.25;
    // The first band is narrow; later ones are widened by how the routes' number grew with
    // the width so far (about as a power of it), to hold about `wanted` routes.
    std::int64_t width = 4;
    std::int64_t lastWidth = 0;
    std::int64_t lastCount = 0;
    m_inBands = 0;
    for (;;) {
        m_bandHigh = least + width >= std::min<std::int64_t>(most, KeptTotals::kFiveDigits - 1)
                         ? kNoBound
                         : least + width;
        if (const SearchStop stop = walk({0, root, 0}, legs, out, expanded);
            stop != SearchStop::None)
            return stop;
        if (m_bandHigh == kNoBound || (cutting() && m_kept.cuts(m_bandHigh + 1, most)))
            return SearchStop::None;
        double growth = 4;
        if (m_inBands > 0) {
            const double power =
                lastCount > 0 && m_inBands > lastCount
                    ? std::max(1.0, std::log(double(m_inBands) / double(lastCount)) /
                                        std::log(double(width) / double(lastWidth)))
                    : 8.0;
            growth = std::clamp(std::pow(wanted / double(m_inBands), 1.0 / power), 1.05, 4.0);
        }
        lastWidth = width;
        lastCount = m_inBands;
        m_bandLow = m_bandHigh;
        width = std::max(width + 1, std::int64_t(double(width) * growth));
        // The list's bound lies within the bands, yet does not cut the routes of six digits
        // that sort before it: only the last band, which has no upper end, can hold them.
        if (cutting() && m_kept.cutoff() <= m_bandLow)
            width = most - least;
    }
}

void RouteSearch::prepareBounds(int legs)
{
    if (m_leastLegs != legs) {
        m_memo->remainingKm(legs, m_least, m_most);
        m_leastLegs = legs;
    }
}

void RouteSearch::orderRoads(std::int64_t microKm, const SearchMemo::State& state, int legs,
                             std::vector<Choice>& order)
{
    order.clear();
    prepareBounds(legs);
    const auto roads = m_graph.roadsFrom(state.town);
    const int legsLeft = legs - state.position - 1;
    for (int road = 0; road < int(roads.size()); ++road) {
        const std::int32_t child = m_memo->child(state, road);
        const std::int64_t total = microKm + roads[std::size_t(road)].microKm;
        if (child == SearchMemo::kDestination && legsLeft == 0)
            order.push_back({total, road});
        else if (child >= 0 && m_memo->reaches(child, legsLeft))
            order.push_back({total + m_least[std::size_t(child)], road});
    }
    // A town has a few roads: sorted by insertion, stable and without a buffer to allocate.
    for (std::size_t i = 1; i < order.size(); ++i) {
        const Choice moving = order[i];
        std::size_t j = i;
        for (; j > 0 && moving.least < order[j - 1].least; --j)
            order[j] = order[j - 1];
        order[j] = moving;
    }
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
        bool ordered; // its roads are taken in m_orders[depth]
    };
    std::vector<Frame> stack{{from, 0, false}};
    stack.reserve(std::size_t(legs) + 1);
    m_orders.resize(std::size_t(legs) + 1);
    const SearchMemo& memo = *m_memo;
    const bool banded = m_bandLow >= 0 || m_bandHigh != kNoBound;
    const auto inBand = [this](std::int64_t microKm) {
        const std::int64_t km = RouteString::wholeKm(microKm);
        return km > m_bandLow && km <= m_bandHigh;
    };
    const std::int64_t compactAt = m_limits.maxRoutes + m_limits.maxRoutes / 2 + 1;
    const auto compact = [&] {
        std::vector<std::int32_t> live;
        for (const Frame& f : stack)
            live.push_back(f.at.node);
        out.keepFirst(int(m_limits.maxRoutes), live);
        for (std::size_t d = 0; d < stack.size(); ++d)
            stack[d].at.node = live[d];
    };
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const SearchMemo::State& state = memo.state(frame.at.state);
        const auto roads = m_graph.roadsFrom(state.town);
        std::vector<Choice>& order = m_orders[stack.size() - 1];
        if (frame.next == 0 && cutting()) {
            // Once the list is full, the most promising roads go first: the sooner short
            // routes are found, the sooner the bound cuts. The order within a step does
            // not change the list, which is sorted.
            orderRoads(frame.at.microKm, state, legs, order);
            frame.ordered = true;
        }
        if (frame.next == (frame.ordered ? int(order.size()) : int(roads.size()))) {
            stack.pop_back();
            continue;
        }
        const int road = frame.ordered ? order[std::size_t(frame.next++)].road : frame.next++;
        const std::int32_t child = memo.child(state, road);
        const std::int64_t total = frame.at.microKm + roads[std::size_t(road)].microKm;
        if (child == SearchMemo::kDestination) {
            if (state.position + 1 != legs || cut(total, total) || !inBand(total))
                continue;
            // A partial route gets its node with its first route: the walk tries far more
            // partial routes than lead to a route once the full list cuts.
            if (frame.at.node < 0) {
                std::size_t from = stack.size() - 1;
                while (stack[from].at.node < 0)
                    --from;
                for (std::size_t d = from + 1; d < stack.size(); ++d)
                    stack[d].at.node = std::int32_t(
                        out.addNode(stack[d - 1].at.node, memo.state(stack[d].at.state).town));
            }
            out.addRoute(std::uint32_t(frame.at.node), total);
            m_kept.add(RouteString::wholeKm(total));
            ++m_inBands;
            // Routes tied with the cutoff are never cut, many may tie (roads of 0 km), and
            // the cutoff comes down only as shorter routes are met: only the step's first
            // maxRoutes in text order can still enter the list, and the others go.
            if (m_kept.isFull() && out.size() >= compactAt)
                compact();
            continue;
        }
        const int legsLeft = legs - state.position - 1;
        if (child < 0 || !memo.reaches(child, legsLeft))
            continue;
        if (banded || cutting()) {
            prepareBounds(legs);
            const std::int64_t least = total + m_least[std::size_t(child)];
            const std::int64_t most = total + m_most[std::size_t(child)];
            if (cut(least, most) || RouteString::wholeKm(least) > m_bandHigh ||
                RouteString::wholeKm(most) <= m_bandLow)
                continue;
        }
        if (++expanded % kCheckInterval == 0) {
            if (const SearchStop stop = limitReached(); stop != SearchStop::None)
                return finish(stop);
            if (memo.memoryBytes() + out.memoryBytes() + out.sortingBytes() +
                    stack.capacity() * sizeof(Frame) +
                    (m_least.capacity() + m_most.capacity()) * sizeof(std::int64_t) +
                    keptBytes(out.size()) >
                m_limits.memoryBudget)
                return finish(SearchStop::MemoryBudget);
        }
        stack.push_back({{child, -1, total}, 0, false});
    }
    return finish(SearchStop::None);
}

} // namespace moravelt
