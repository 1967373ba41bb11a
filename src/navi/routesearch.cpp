#include "navi/routesearch.h"

#include "navi/routestring.h"

#include <algorithm>
#include <limits>

namespace moravelt {

namespace {

// The cancel flag and the clock are looked at once per this many partial routes expanded.
constexpr std::int64_t kCheckInterval = 1024;
// Reserving address space is free until it is touched; beyond this, let the vector grow.
constexpr std::int64_t kLargestReserve = std::int64_t(1) << 26;

} // namespace

RouteSearch::RouteSearch(const RoadGraph& graph, const QString& departure,
                         const QString& destination, int level, SearchLimits limits)
    : m_graph(graph), m_limits(limits), m_lookBack(std::max(level, 0) + 1),
      m_destination(graph.townId(destination)), m_firstMet(std::size_t(graph.townCount()), -1),
      m_onPath(std::size_t(graph.townCount()), 0)
{
    // Entries are indexed with 32 bits.
    m_limits.maxPartialRoutes = std::clamp<std::int64_t>(m_limits.maxPartialRoutes, 0,
                                                         std::numeric_limits<std::int32_t>::max());
    m_entries.reserve(
        std::size_t(std::clamp<std::int64_t>(m_limits.maxPartialRoutes, 1, kLargestReserve)));
    // A departure on no road has nothing to expand: the first step finds the frontier empty.
    const int start = graph.townId(departure);
    if (start >= 0)
        m_entries.push_back({start, -1, 0});
}

SearchStep RouteSearch::step()
{
    SearchStep result;
    result.index = m_step;
    if (m_over) {
        result.frontierEmpty = true;
        return result;
    }
    const auto stepStart = std::chrono::steady_clock::now();
    m_path.push_back(-1);
    // During step k a town first met in step k - lookBack or earlier is not queued again.
    const std::int32_t lastPrunedStep = m_step - m_lookBack;
    const std::size_t frontierEnd = m_entries.size();
    const std::size_t cap = std::size_t(m_limits.maxPartialRoutes);

    for (std::size_t e = m_frontierBegin; e < frontierEnd && result.stop == SearchStop::None; ++e) {
        if (result.expanded % kCheckInterval == 0) {
            result.stop = limitReached(stepStart);
            if (result.stop != SearchStop::None)
                break;
        }
        ++result.expanded;
        followPath(std::int32_t(e));
        const Entry from = m_entries[e];
        for (const RoadGraph::Road& road : m_graph.roadsFrom(from.town)) {
            const std::int32_t candidate = road.to;
            if (m_onPath[std::size_t(candidate)])
                continue;
            const std::int64_t total = from.microKm + road.microKm;
            if (candidate == m_destination) {
                if (m_routes >= m_limits.maxRoutes) {
                    result.stop = SearchStop::RouteCap;
                    break;
                }
                ++m_routes;
                result.routes.append(routeString(total));
                continue;
            }
            std::int32_t& firstMet = m_firstMet[std::size_t(candidate)];
            if (firstMet < 0 || firstMet > lastPrunedStep) {
                if (m_entries.size() >= cap) {
                    result.stop = SearchStop::PartialRouteCap;
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

    m_elapsed += std::chrono::steady_clock::now() - stepStart;
    m_expanded += result.expanded;
    result.frontierEmpty = m_entries.size() == frontierEnd;
    m_over = result.frontierEmpty || result.stop != SearchStop::None;
    m_frontierBegin = frontierEnd;
    ++m_step;
    return result;
}

SearchStop RouteSearch::limitReached(std::chrono::steady_clock::time_point stepStart) const
{
    if (m_cancelled.load(std::memory_order_relaxed))
        return SearchStop::Cancelled;
    if (m_elapsed + (std::chrono::steady_clock::now() - stepStart) >= m_limits.timeBudget)
        return SearchStop::TimeBudget;
    return SearchStop::None;
}

void RouteSearch::followPath(std::int32_t entry)
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

QString RouteSearch::routeString(std::int64_t microKm) const
{
    // Written into a text sized once: a long search builds many of these, and growing them
    // piece by piece costs more than the search itself.
    const QString total = RouteString::formatTotal(microKm);
    const QString& destination = m_graph.townName(m_destination);
    qsizetype length = total.size() + 1 + destination.size();
    for (const std::int32_t entry : m_path)
        length += 1 + m_graph.townName(m_entries[std::size_t(entry)].town).size();
    QString route(length, Qt::Uninitialized);
    QChar* out = route.data();
    const auto put = [&out](const QString& text) {
        std::copy_n(text.constData(), text.size(), out);
        out += text.size();
    };
    put(total);
    for (const std::int32_t entry : m_path) {
        *out++ = u'-';
        put(m_graph.townName(m_entries[std::size_t(entry)].town));
    }
    *out++ = u'-';
    put(destination);
    return route;
}

std::size_t RouteSearch::memoryBytes() const
{
    // Reserved but untouched entries cost no memory, so only the used ones count.
    return m_entries.size() * sizeof(Entry) + m_firstMet.capacity() * sizeof(std::int32_t) +
           m_onPath.capacity() + (m_path.capacity() + m_pending.capacity()) * sizeof(std::int32_t);
}

} // namespace moravelt
