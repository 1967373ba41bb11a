#include "navi/kshortestpaths.h"

#include "navi/roadgraph.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <set>

namespace moravelt {

namespace {

using HeapEntry = std::pair<std::int64_t, std::int32_t>; // key, town
using MinHeap = std::priority_queue<HeapEntry, std::vector<HeapEntry>, std::greater<>>;

struct Candidate
{
    TownPath path;
    std::size_t deviation; // the index where it leaves the path it was spurred from
};

// Heap order: the shortest on top; equal lengths by town ids, only to be deterministic.
bool longer(const Candidate& a, const Candidate& b)
{
    if (a.path.microKm != b.path.microKm)
        return a.path.microKm > b.path.microKm;
    return a.path.towns > b.path.towns;
}

} // namespace

KShortestPaths::KShortestPaths(const RoadGraph& graph) : m_count(graph.townCount())
{
    const std::size_t n = std::size_t(m_count);
    m_first.assign(n + 1, 0);
    for (int t = 0; t < m_count; ++t) {
        const std::size_t begin = m_arcs.size();
        for (const RoadGraph::Road& road : graph.roadsFrom(t)) {
            if (road.to != t)
                m_arcs.push_back({road.to, road.microKm});
        }
        const auto first = m_arcs.begin() + std::ptrdiff_t(begin);
        std::sort(first, m_arcs.end(), [](const Arc& a, const Arc& b) {
            return a.to != b.to ? a.to < b.to : a.microKm < b.microKm;
        });
        // The shortest of parallel rows sorts first and stays.
        m_arcs.erase(std::unique(first, m_arcs.end(),
                                 [](const Arc& a, const Arc& b) { return a.to == b.to; }),
                     m_arcs.end());
        m_first[std::size_t(t) + 1] = std::int32_t(m_arcs.size());
    }

    m_reverseFirst.assign(n + 1, 0);
    for (const Arc& arc : m_arcs)
        ++m_reverseFirst[std::size_t(arc.to) + 1];
    for (std::size_t t = 1; t <= n; ++t)
        m_reverseFirst[t] += m_reverseFirst[t - 1];
    std::vector<std::int32_t> next(m_reverseFirst.begin(), m_reverseFirst.end() - 1);
    m_reverseArcs.resize(m_arcs.size());
    for (int t = 0; t < m_count; ++t) {
        for (std::int32_t a = m_first[std::size_t(t)]; a < m_first[std::size_t(t) + 1]; ++a) {
            const Arc& arc = m_arcs[std::size_t(a)];
            m_reverseArcs[std::size_t(next[std::size_t(arc.to)]++)] = {t, arc.microKm};
        }
    }

    m_reached.assign(n, 0);
    m_parent.assign(n, -1);
    m_seen.assign(n, 0);
    m_closed.assign(n, 0);
    m_blocked.assign(n, 0);
}

std::int64_t KShortestPaths::roadLength(int from, int to) const
{
    const auto first = m_arcs.begin() + m_first[std::size_t(from)];
    const auto last = m_arcs.begin() + m_first[std::size_t(from) + 1];
    const auto found =
        std::lower_bound(first, last, to, [](const Arc& a, int town) { return a.to < town; });
    return found != last && found->to == to ? found->microKm : -1;
}

void KShortestPaths::distancesTo(int to)
{
    m_toDestination.assign(std::size_t(m_count), -1);
    ++m_stamp;
    MinHeap heap;
    m_toDestination[std::size_t(to)] = 0;
    heap.push({0, to});
    while (!heap.empty()) {
        const auto [distance, town] = heap.top();
        heap.pop();
        if (m_closed[std::size_t(town)] == m_stamp)
            continue;
        m_closed[std::size_t(town)] = m_stamp;
        for (std::int32_t a = m_reverseFirst[std::size_t(town)];
             a < m_reverseFirst[std::size_t(town) + 1]; ++a) {
            const Arc& arc = m_reverseArcs[std::size_t(a)];
            std::int64_t& known = m_toDestination[std::size_t(arc.to)];
            const std::int64_t through = distance + arc.microKm;
            if (known < 0 || through < known) {
                known = through;
                heap.push({through, arc.to});
            }
        }
    }
}

bool KShortestPaths::spurPath(const std::vector<std::int32_t>& root, std::size_t spur, int to,
                              const std::vector<std::int32_t>& banned, TownPath& path)
{
    const std::int32_t start = root[spur];
    if (m_toDestination[std::size_t(start)] < 0)
        return false;
    ++m_stamp;
    for (std::size_t i = 0; i < spur; ++i)
        m_blocked[std::size_t(root[i])] = m_stamp;
    MinHeap heap;
    m_reached[std::size_t(start)] = 0;
    m_parent[std::size_t(start)] = -1;
    m_seen[std::size_t(start)] = m_stamp;
    heap.push({m_toDestination[std::size_t(start)], start});
    while (!heap.empty()) {
        const std::int32_t town = heap.top().second;
        heap.pop();
        if (m_closed[std::size_t(town)] == m_stamp)
            continue;
        m_closed[std::size_t(town)] = m_stamp;
        if (town == to) {
            const std::size_t begin = path.towns.size();
            for (std::int32_t t = to; t >= 0; t = m_parent[std::size_t(t)])
                path.towns.push_back(t);
            std::reverse(path.towns.begin() + std::ptrdiff_t(begin), path.towns.end());
            path.microKm += m_reached[std::size_t(to)];
            return true;
        }
        for (std::int32_t a = m_first[std::size_t(town)]; a < m_first[std::size_t(town) + 1]; ++a) {
            const Arc& arc = m_arcs[std::size_t(a)];
            const std::size_t v = std::size_t(arc.to);
            if (m_blocked[v] == m_stamp || m_closed[v] == m_stamp || m_toDestination[v] < 0)
                continue;
            if (town == start && std::find(banned.begin(), banned.end(), arc.to) != banned.end())
                continue;
            const std::int64_t reached = m_reached[std::size_t(town)] + arc.microKm;
            if (m_seen[v] != m_stamp || reached < m_reached[v]) {
                m_seen[v] = m_stamp;
                m_reached[v] = reached;
                m_parent[v] = town;
                // The remaining distance never overestimates and keeps the keys monotone,
                // so a town taken from the heap is final, as in Dijkstra.
                heap.push({reached + m_toDestination[v], arc.to});
            }
        }
    }
    return false;
}

std::vector<TownPath> KShortestPaths::find(int from, int to, int k)
{
    std::vector<TownPath> found;
    if (k <= 0 || from == to || from < 0 || to < 0 || from >= m_count || to >= m_count)
        return found;
    distancesTo(to);
    TownPath first;
    if (!spurPath({std::int32_t(from)}, 0, to, {}, first))
        return found;

    std::vector<std::size_t> deviations{0};
    std::set<std::vector<std::int32_t>> known{first.towns};
    std::vector<Candidate> candidates;
    found.push_back(std::move(first));
    for (;;) {
        const TownPath& last = found.back();
        std::int64_t rootKm = 0;
        for (std::size_t j = 0; j < deviations.back(); ++j)
            rootKm += roadLength(last.towns[j], last.towns[j + 1]);
        // Deviations before the one that made this path were tried from its parent already.
        for (std::size_t j = deviations.back(); j + 1 < last.towns.size(); ++j) {
            std::vector<std::int32_t> banned;
            for (const TownPath& p : found) {
                if (p.towns.size() > j + 1 &&
                    std::equal(p.towns.begin(), p.towns.begin() + std::ptrdiff_t(j + 1),
                               last.towns.begin()))
                    banned.push_back(p.towns[j + 1]);
            }
            Candidate c{{rootKm, {last.towns.begin(), last.towns.begin() + std::ptrdiff_t(j)}}, j};
            if (spurPath(last.towns, j, to, banned, c.path) && known.insert(c.path.towns).second) {
                candidates.push_back(std::move(c));
                std::push_heap(candidates.begin(), candidates.end(), longer);
            }
            rootKm += roadLength(last.towns[j], last.towns[j + 1]);
        }
        if (candidates.empty() || found.size() >= kMaxEnumerated)
            break;
        if (found.size() >= std::size_t(k) &&
            candidates.front().path.microKm > found[std::size_t(k) - 1].microKm)
            break;
        std::pop_heap(candidates.begin(), candidates.end(), longer);
        found.push_back(std::move(candidates.back().path));
        deviations.push_back(candidates.back().deviation);
        candidates.pop_back();
    }
    return found;
}

} // namespace moravelt
