// SPDX-License-Identifier: MIT

#include "navi/kshortestpaths.h"

#include "navi/roadgraph.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <set>
#include <tuple>

namespace moravelt {

namespace {

using HeapEntry = std::pair<std::int64_t, std::int32_t>; // key, town
using MinHeap = std::priority_queue<HeapEntry, std::vector<HeapEntry>, std::greater<>>;
// A*: remaining estimate, then the distance reached, so that with roads longer than 0 every
// town that can reach another as early is taken from the heap before it.
using SearchEntry = std::tuple<std::int64_t, std::int64_t, std::int32_t>;
using SearchHeap = std::priority_queue<SearchEntry, std::vector<SearchEntry>, std::greater<>>;

struct Candidate
{
    TownPath path;
    std::size_t deviation; // the index where it leaves the path it was spurred from
};

} // namespace

KShortestPaths::KShortestPaths(const RoadGraph& graph) : m_graph(graph), m_count(graph.townCount())
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
    m_zeroRoads =
        std::any_of(m_arcs.begin(), m_arcs.end(), [](const Arc& a) { return a.microKm == 0; });

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
    m_depth.assign(n, 0);
    m_seen.assign(n, 0);
    m_closed.assign(n, 0);
    m_blocked.assign(n, 0);
    if (m_zeroRoads) {
        m_spurLeft.assign(n, -1);
        m_leftKnown.assign(n, 0);
        m_dead.assign(n, 0);
        m_visited.assign(n, 0);
    }
}

bool KShortestPaths::cancelled()
{
    if (m_cancelled)
        return true;
    if (m_cancel == nullptr || ++m_sinceLook < 256)
        return false;
    m_sinceLook = 0;
    m_cancelled = m_cancel->load(std::memory_order_relaxed);
    return m_cancelled;
}

std::int64_t KShortestPaths::roadLength(int from, int to) const
{
    const auto first = m_arcs.begin() + m_first[std::size_t(from)];
    const auto last = m_arcs.begin() + m_first[std::size_t(from) + 1];
    const auto found =
        std::lower_bound(first, last, to, [](const Arc& a, int town) { return a.to < town; });
    return found != last && found->to == to ? found->microKm : -1;
}

int KShortestPaths::compareTowns(std::int32_t a, std::int32_t b) const
{
    if (a == b)
        return 0;
    // In a route string a town is followed by "-", the destination by the end of the text.
    const QString& x = m_graph.townName(a);
    const QString& y = m_graph.townName(b);
    const qsizetype common = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    }
    const auto after = [this, common](std::int32_t town, const QString& name) {
        if (common < name.size())
            return int(name[common].unicode());
        return town == m_to ? -1 : int(u'-');
    };
    const int cx = after(a, x);
    const int cy = after(b, y);
    return cx == cy ? 0 : (cx < cy ? -1 : 1);
}

int KShortestPaths::compareWaysOn(std::int32_t a, std::int32_t b) const
{
    while (a != b) {
        if (const int c = compareTowns(a, b))
            return c;
        a = m_next[std::size_t(a)];
        b = m_next[std::size_t(b)];
    }
    return 0;
}

bool KShortestPaths::searchedBefore(std::int32_t a, std::int32_t b, std::int32_t v) const
{
    // The first town where the two paths part decides; -1 stands for v itself.
    std::int32_t fromA = -1;
    std::int32_t fromB = -1;
    while (m_depth[std::size_t(a)] > m_depth[std::size_t(b)]) {
        fromA = a;
        a = m_parent[std::size_t(a)];
    }
    while (m_depth[std::size_t(b)] > m_depth[std::size_t(a)]) {
        fromB = b;
        b = m_parent[std::size_t(b)];
    }
    while (a != b) {
        fromA = a;
        fromB = b;
        a = m_parent[std::size_t(a)];
        b = m_parent[std::size_t(b)];
    }
    return compareTowns(fromA < 0 ? v : fromA, fromB < 0 ? v : fromB) < 0;
}

bool KShortestPaths::pathLess(const TownPath& a, const TownPath& b) const
{
    if (a.microKm != b.microKm)
        return a.microKm < b.microKm;
    const std::size_t common = std::min(a.towns.size(), b.towns.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (const int c = compareTowns(a.towns[i], b.towns[i]))
            return c < 0;
    }
    return a.towns.size() < b.towns.size();
}

void KShortestPaths::distancesTo(int to)
{
    m_to = to;
    m_toDestination.assign(std::size_t(m_count), -1);
    m_next.assign(std::size_t(m_count), -1);
    ++m_stamp;
    MinHeap heap;
    m_toDestination[std::size_t(to)] = 0;
    heap.push({0, to});
    while (!heap.empty() && !cancelled()) {
        const auto [distance, town] = heap.top();
        heap.pop();
        if (m_closed[std::size_t(town)] == m_stamp)
            continue;
        m_closed[std::size_t(town)] = m_stamp;
        for (std::int32_t a = m_reverseFirst[std::size_t(town)];
             a < m_reverseFirst[std::size_t(town) + 1]; ++a) {
            const Arc& arc = m_reverseArcs[std::size_t(a)];
            const std::size_t u = std::size_t(arc.to);
            if (m_closed[u] == m_stamp)
                continue;
            std::int64_t& known = m_toDestination[u];
            const std::int64_t through = distance + arc.microKm;
            // Of equally short ways on, the one that reads first; every town that could offer
            // one is settled before this one when no road has length 0.
            if (known < 0 || through < known ||
                (through == known && compareWaysOn(town, m_next[u]) < 0)) {
                known = through;
                m_next[u] = town;
                heap.push({through, arc.to});
            }
        }
    }
}

bool KShortestPaths::treeSpur(std::int32_t start, int to, const std::vector<std::int32_t>& banned,
                              TownPath& path)
{
    // No spur is better than its best first road followed by the best way on from there; when
    // that way is free of the root and of the spur's own town, it is the spur.
    const Arc* best = nullptr;
    for (std::int32_t a = m_first[std::size_t(start)]; a < m_first[std::size_t(start) + 1]; ++a) {
        const Arc& arc = m_arcs[std::size_t(a)];
        const std::int64_t rest = m_toDestination[std::size_t(arc.to)];
        if (rest < 0 || m_blocked[std::size_t(arc.to)] == m_stamp ||
            std::find(banned.begin(), banned.end(), arc.to) != banned.end())
            continue;
        if (!best) {
            best = &arc;
            continue;
        }
        const std::int64_t length = arc.microKm + rest;
        const std::int64_t bestLength = best->microKm + m_toDestination[std::size_t(best->to)];
        if (length < bestLength || (length == bestLength && compareWaysOn(arc.to, best->to) < 0))
            best = &arc;
    }
    if (!best)
        return false;
    for (std::int32_t t = best->to; t != to; t = m_next[std::size_t(t)]) {
        if (t == start || m_blocked[std::size_t(t)] == m_stamp)
            return false;
    }
    path.towns.push_back(start);
    for (std::int32_t t = best->to; t != to; t = m_next[std::size_t(t)])
        path.towns.push_back(t);
    path.towns.push_back(to);
    path.microKm += best->microKm + m_toDestination[std::size_t(best->to)];
    return true;
}

bool KShortestPaths::spurPath(const std::vector<std::int32_t>& root, std::size_t spur, int to,
                              const std::vector<std::int32_t>& banned, TownPath& path)
{
    const std::int32_t start = root[spur];
    if (m_toDestination[std::size_t(start)] < 0)
        return false;
    if (m_zeroRoads)
        return exactSpur(root, spur, to, banned, path);
    ++m_stamp;
    for (std::size_t i = 0; i < spur; ++i)
        m_blocked[std::size_t(root[i])] = m_stamp;
    if (treeSpur(start, to, banned, path))
        return true;
    SearchHeap heap;
    m_reached[std::size_t(start)] = 0;
    m_parent[std::size_t(start)] = -1;
    m_depth[std::size_t(start)] = 0;
    m_seen[std::size_t(start)] = m_stamp;
    heap.push({m_toDestination[std::size_t(start)], 0, start});
    while (!heap.empty() && !cancelled()) {
        const std::int32_t town = std::get<2>(heap.top());
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
            if (m_seen[v] != m_stamp || reached < m_reached[v] ||
                (reached == m_reached[v] && searchedBefore(town, m_parent[v], arc.to))) {
                m_seen[v] = m_stamp;
                m_reached[v] = reached;
                m_parent[v] = town;
                m_depth[v] = m_depth[std::size_t(town)] + 1;
                // The remaining distance never overestimates and keeps the keys monotone,
                // so a town taken from the heap is final, as in Dijkstra.
                heap.push({reached + m_toDestination[v], reached, arc.to});
            }
        }
    }
    return false;
}

// Why exactSpur is exact. Let G' be the road graph without the root's towns before the spur
// and without the spur's own town s as a town passed through, d(t) a town's distance to the
// destination in G', and L = d(s) over s's roads that are not banned. Along any way from s,
// d(x) <= len(x, y) + d(y) for each road; the sum telescopes, so a way is as short as L exactly
// when every road on it is tight, len(x, y) + d(y) = d(x). Among the shortest ways the route
// text decides, which compares them town by town (compareTowns), so the town after s is the
// first, by name, of s's tight neighbours that can still finish: reach the destination over
// tight roads without a town already taken (any such way is as long as d says, hence
// shortest). Taking it and going on from there gives the first way in text order. A town that
// cannot finish cannot finish later either, when more towns are taken: it stays dead.
//
// d is needed only on the shortest ways. A* from s, guided by the whole graph's distances h
// (never more than d, and consistent), settles every town with g + h <= L, g its distance
// from s: a town w on a shortest way has g(w) <= its length there and h(w) <= L minus it.
// The ways on from w along that way stay among those towns, so d computed over them alone is
// d wherever a road can be tight; elsewhere it is no less than d, so never falsely tight.
bool KShortestPaths::exactSpur(const std::vector<std::int32_t>& root, std::size_t spur, int to,
                               const std::vector<std::int32_t>& banned, TownPath& path)
{
    const std::int32_t start = root[spur];
    ++m_stamp;
    for (std::size_t i = 0; i <= spur; ++i)
        m_blocked[std::size_t(root[i])] = m_stamp;
    const auto isBanned = [&banned](std::int32_t town) {
        return std::find(banned.begin(), banned.end(), town) != banned.end();
    };

    SearchHeap ahead;
    m_reached[std::size_t(start)] = 0;
    m_seen[std::size_t(start)] = m_stamp;
    ahead.push({m_toDestination[std::size_t(start)], 0, start});
    std::int64_t total = -1; // L, once the destination is settled
    while (!ahead.empty()) {
        if (cancelled())
            return false;
        const auto [estimate, reached, town] = ahead.top();
        if (total >= 0 && estimate > total)
            break;
        ahead.pop();
        if (m_closed[std::size_t(town)] == m_stamp || reached > m_reached[std::size_t(town)])
            continue;
        m_closed[std::size_t(town)] = m_stamp;
        if (town == to) {
            if (total < 0)
                total = reached;
            continue;
        }
        for (std::int32_t a = m_first[std::size_t(town)]; a < m_first[std::size_t(town) + 1]; ++a) {
            const Arc& arc = m_arcs[std::size_t(a)];
            const std::size_t v = std::size_t(arc.to);
            if (m_blocked[v] == m_stamp || m_closed[v] == m_stamp || m_toDestination[v] < 0 ||
                (town == start && isBanned(arc.to)))
                continue;
            const std::int64_t through = reached + arc.microKm;
            if (m_seen[v] != m_stamp || through < m_reached[v]) {
                m_seen[v] = m_stamp;
                m_reached[v] = through;
                ahead.push({through + m_toDestination[v], through, arc.to});
            }
        }
    }
    if (total < 0)
        return false;

    // d over the settled towns, back from the destination.
    ++m_visit;
    MinHeap back;
    m_spurLeft[std::size_t(to)] = 0;
    m_leftKnown[std::size_t(to)] = m_stamp;
    back.push({0, to});
    while (!back.empty()) {
        if (cancelled())
            return false;
        const auto [distance, town] = back.top();
        back.pop();
        if (m_visited[std::size_t(town)] == m_visit || distance > spurLeft(town))
            continue;
        m_visited[std::size_t(town)] = m_visit;
        for (std::int32_t a = m_reverseFirst[std::size_t(town)];
             a < m_reverseFirst[std::size_t(town) + 1]; ++a) {
            const Arc& arc = m_reverseArcs[std::size_t(a)];
            const std::size_t u = std::size_t(arc.to);
            if (m_closed[u] != m_stamp || m_blocked[u] == m_stamp || m_visited[u] == m_visit)
                continue;
            const std::int64_t through = distance + arc.microKm;
            if (spurLeft(arc.to) < 0 || through < m_spurLeft[u]) {
                m_spurLeft[u] = through;
                m_leftKnown[u] = m_stamp;
                back.push({through, arc.to});
            }
        }
    }

    path.towns.push_back(start);
    std::int32_t town = start;
    std::int64_t left = total;
    while (town != to) {
        std::int32_t next = -1;
        for (;;) {
            // The first tight neighbour by name not known to be dead; then whether it can
            // finish, which on failure marks it dead and the search looks again.
            next = -1;
            for (std::int32_t a = m_first[std::size_t(town)]; a < m_first[std::size_t(town) + 1];
                 ++a) {
                const Arc& arc = m_arcs[std::size_t(a)];
                const std::size_t v = std::size_t(arc.to);
                if (m_blocked[v] == m_stamp || m_dead[v] == m_stamp || spurLeft(arc.to) < 0 ||
                    arc.microKm + m_spurLeft[v] != left)
                    continue;
                if (town == start && isBanned(arc.to))
                    continue;
                if (next < 0 || compareTowns(arc.to, next) < 0)
                    next = arc.to;
            }
            if (next < 0 || cancelled())
                return false; // only when cancelled: d(s) promised a way
            if (reachesExactly(next, to))
                break;
        }
        left = m_spurLeft[std::size_t(next)];
        m_blocked[std::size_t(next)] = m_stamp;
        path.towns.push_back(next);
        town = next;
    }
    path.microKm += total;
    return true;
}

std::int64_t KShortestPaths::spurLeft(std::int32_t town) const
{
    return m_leftKnown[std::size_t(town)] == m_stamp ? m_spurLeft[std::size_t(town)] : -1;
}

bool KShortestPaths::reachesExactly(std::int32_t from, int to)
{
    if (from == to)
        return true;
    ++m_visit;
    // Breadth first; the queue keeps every town searched.
    m_searched.assign(1, from);
    m_visited[std::size_t(from)] = m_visit;
    for (std::size_t i = 0; i < m_searched.size(); ++i) {
        const std::int32_t town = m_searched[i];
        const std::int64_t left = m_spurLeft[std::size_t(town)];
        for (std::int32_t a = m_first[std::size_t(town)]; a < m_first[std::size_t(town) + 1]; ++a) {
            const Arc& arc = m_arcs[std::size_t(a)];
            const std::size_t v = std::size_t(arc.to);
            if (spurLeft(arc.to) < 0 || arc.microKm + m_spurLeft[v] != left)
                continue;
            if (arc.to == to)
                return true;
            if (m_blocked[v] == m_stamp || m_dead[v] == m_stamp || m_visited[v] == m_visit)
                continue;
            m_visited[v] = m_visit;
            m_searched.push_back(arc.to);
        }
        if (cancelled())
            return false;
    }
    // Nothing it reached can finish either.
    for (const std::int32_t t : m_searched)
        m_dead[std::size_t(t)] = m_stamp;
    return false;
}

std::vector<TownPath> KShortestPaths::find(int from, int to, int k, const std::atomic<bool>* cancel)
{
    std::vector<TownPath> found;
    if (k <= 0 || from == to || from < 0 || to < 0 || from >= m_count || to >= m_count)
        return found;
    m_cancel = cancel;
    m_cancelled = false;
    m_sinceLook = 0;
    distancesTo(to);
    TownPath first;
    if (!spurPath({std::int32_t(from)}, 0, to, {}, first) || cancelled())
        return found;

    const auto later = [this](const Candidate& a, const Candidate& b) {
        return pathLess(b.path, a.path);
    };
    std::vector<std::size_t> deviations{0};
    std::set<std::vector<std::int32_t>> known{first.towns};
    std::vector<Candidate> candidates;
    found.push_back(std::move(first));
    // Each spur is the first of its kind in the list's order, so the candidates' best is the
    // next path: the k-th is exact, and ties past it are never looked at.
    while (found.size() < std::size_t(k)) {
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
                std::push_heap(candidates.begin(), candidates.end(), later);
            }
            if (cancelled())
                return {};
            rootKm += roadLength(last.towns[j], last.towns[j + 1]);
        }
        if (candidates.empty())
            break;
        std::pop_heap(candidates.begin(), candidates.end(), later);
        found.push_back(std::move(candidates.back().path));
        deviations.push_back(candidates.back().deviation);
        candidates.pop_back();
    }
    return found;
}

} // namespace moravelt
