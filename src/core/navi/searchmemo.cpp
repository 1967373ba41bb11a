// SPDX-License-Identifier: MIT

#include "navi/searchmemo.h"

#include <algorithm>
#include <limits>

namespace moravelt {

namespace {

constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
// The work between two looks at the clock and the cancel flag.
constexpr int kCheckInterval = 4096;

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return a > kSaturated - b ? kSaturated : a + b;
}

std::uint64_t mix(std::uint64_t h, std::uint64_t v)
{
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

} // namespace

SearchMemo::SearchMemo(const RoadGraph& graph, std::int32_t departure, std::int32_t destination,
                       int level)
    : m_graph(graph), m_departure(departure), m_destination(destination),
      m_level(std::clamp(level, 0, kLargestLevel)), m_window(std::max(m_level - 1, 0))
{
    findHops();
}

void SearchMemo::findHops()
{
    // The departure's own hop count is 0 even when it is also the destination: the search
    // starts there and only passing through the destination is ruled out.
    m_hops.assign(std::size_t(m_graph.townCount()), -1);
    m_hops[std::size_t(m_departure)] = 0;
    m_discovery.push_back(m_departure);
    for (std::size_t next = 0; next < m_discovery.size(); ++next) {
        const std::int32_t town = m_discovery[next];
        for (const RoadGraph::Road& road : m_graph.roadsFrom(town)) {
            if (road.to == m_destination || m_hops[std::size_t(road.to)] >= 0)
                continue;
            m_hops[std::size_t(road.to)] = m_hops[std::size_t(town)] + 1;
            m_discovery.push_back(road.to);
        }
    }
}

std::vector<std::int32_t> SearchMemo::firstMetInStep(int k) const
{
    // The discovery order is sorted by hop count, so a step's towns are one stretch of it.
    const auto byHops = [this](std::int32_t town, int hops) { return m_hops[town] < hops; };
    const auto from = std::lower_bound(m_discovery.begin(), m_discovery.end(), k + 1, byHops);
    const auto to = std::lower_bound(from, m_discovery.end(), k + 2, byHops);
    return {from, to};
}

std::size_t SearchMemo::slotOf(std::int32_t position, std::int32_t town,
                               const std::int32_t* blocked) const
{
    std::uint64_t h = mix(std::uint64_t(position), std::uint64_t(town));
    for (int i = 0; i < m_window; ++i)
        h = mix(h, std::uint64_t(std::uint32_t(blocked[i])));
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t slot = std::size_t(h * 0x9E3779B97F4A7C15ULL >> 20) & mask;;
         slot = (slot + 1) & mask) {
        const std::int32_t id = m_table[slot];
        if (id < 0)
            return slot;
        const State& s = m_states[std::size_t(id)];
        if (s.position == position && s.town == town &&
            std::equal(blocked, blocked + m_window, m_blocked.begin() + s.blocked))
            return slot;
    }
}

void SearchMemo::growTable()
{
    m_table.assign(std::max<std::size_t>(1024, m_table.size() * 2), -1);
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t id = 0; id < m_states.size(); ++id) {
        const State& s = m_states[id];
        std::size_t slot = slotOf(s.position, s.town, m_blocked.data() + s.blocked);
        while (m_table[slot] >= 0)
            slot = (slot + 1) & mask;
        m_table[slot] = std::int32_t(id);
    }
}

std::int32_t SearchMemo::stateOf(std::int32_t position, std::int32_t town,
                                 const std::int32_t* blocked, bool& fresh)
{
    if ((m_states.size() + 1) * 2 > m_table.size())
        growTable();
    const std::size_t slot = slotOf(position, town, blocked);
    fresh = m_table[slot] < 0;
    if (!fresh)
        return m_table[slot];
    const auto id = std::int32_t(m_states.size());
    m_table[slot] = id;
    m_states.push_back(
        {town, position, std::uint32_t(m_children.size()), 0, 0, std::uint32_t(m_blocked.size())});
    m_blocked.insert(m_blocked.end(), blocked, blocked + m_window);
    m_children.append(m_graph.roadsFrom(town).size(), kBlocked);
    return id;
}

SearchStop SearchMemo::build(const std::function<SearchStop()>& check, std::int64_t maxStates,
                             std::size_t maxBytes)
{
    struct Frame
    {
        std::int32_t state;
        int next;
    };
    std::vector<std::int32_t> none(std::size_t(m_window), -1);
    bool fresh = false;
    std::vector<Frame> stack{{stateOf(0, m_departure, none.data(), fresh), 0}};
    std::vector<std::int32_t> window(std::size_t(m_window) + 1);
    for (int work = 0; !stack.empty(); ++work) {
        if (work % kCheckInterval == 0) {
            if (const SearchStop stop = check(); stop != SearchStop::None)
                return stop;
            if (std::int64_t(m_states.size()) > maxStates)
                return SearchStop::StateCap;
            if (memoryBytes() > maxBytes)
                return SearchStop::MemoryBudget;
        }
        Frame& frame = stack.back();
        const State from = m_states[std::size_t(frame.state)];
        const auto roads = m_graph.roadsFrom(from.town);
        if (frame.next == int(roads.size())) {
            finish(frame.state);
            stack.pop_back();
            continue;
        }
        const int road = frame.next++;
        const std::int32_t candidate = roads[std::size_t(road)].to;
        const std::uint32_t edge = from.edges + std::uint32_t(road);
        if (candidate == m_destination) {
            m_children[edge] = kDestination;
            continue;
        }
        const std::int32_t position = from.position + 1;
        const std::int32_t* blocked = m_blocked.data() + from.blocked;
        if (candidate == from.town ||
            std::find(blocked, blocked + m_window, candidate) != blocked + m_window)
            continue; // on the partial route
        const std::int32_t hops = m_hops[std::size_t(candidate)];
        if (hops < 0 || position > hops + m_level)
            continue; // the static rule
        // The new state keeps the towns that may still be met after this leg.
        std::size_t kept = 0;
        const auto keep = [&](std::int32_t town) {
            if (town >= 0 && m_hops[std::size_t(town)] + m_level >= position + 1)
                window[kept++] = town;
        };
        for (int i = 0; i < m_window; ++i)
            keep(blocked[i]);
        keep(from.town);
        std::sort(window.begin(), window.begin() + std::ptrdiff_t(kept));
        std::fill(window.begin() + std::ptrdiff_t(kept), window.end(), -1);
        const std::int32_t id = stateOf(position, candidate, window.data(), fresh);
        m_children[edge] = id;
        if (fresh)
            stack.push_back({id, 0});
    }
    countRoutes();
    m_table = {};
    m_blocked = {};
    return SearchStop::None;
}

void SearchMemo::finish(std::int32_t id)
{
    // Children stand one position further, so they are all finished already.
    State& s = m_states[std::size_t(id)];
    const auto roads = m_graph.roadsFrom(s.town);
    std::int32_t longest = 0;
    for (std::size_t road = 0; road < roads.size(); ++road) {
        const std::int32_t child = m_children[s.edges + road];
        if (child >= 0)
            longest = std::max(longest, m_states[std::size_t(child)].longest + 1);
    }
    // Bit d - 1 tells whether the destination lies exactly d legs on, d = 1 .. longest + 1.
    const std::size_t words = std::size_t(longest) / 64 + 1;
    const std::size_t first = m_reach.size();
    m_reach.resize(first + words, 0);
    for (std::size_t road = 0; road < roads.size(); ++road) {
        const std::int32_t child = m_children[s.edges + road];
        if (child == kDestination) {
            m_reach[first] |= 1U;
        } else if (child >= 0) {
            const State& c = m_states[std::size_t(child)];
            const std::size_t childWords = std::size_t(c.longest) / 64 + 1;
            std::uint64_t carry = 0;
            for (std::size_t w = 0; w < childWords; ++w) {
                const std::uint64_t bits = m_reach[c.reach + w];
                m_reach[first + w] |= (bits << 1) | carry;
                carry = bits >> 63;
            }
            if (carry != 0)
                m_reach[first + childWords] |= carry;
        }
    }
    s.longest = longest;
    s.reach = std::uint32_t(first);
    m_finished.push_back(id);
}

void SearchMemo::countRoutes()
{
    // Partial routes reaching each state, one position after the other (a state's parents
    // all stand one position before it).
    std::vector<std::int32_t> order(m_states.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = std::int32_t(i);
    std::stable_sort(order.begin(), order.end(), [this](std::int32_t a, std::int32_t b) {
        return m_states[std::size_t(a)].position < m_states[std::size_t(b)].position;
    });
    std::vector<std::uint64_t> paths(m_states.size(), 0);
    paths[0] = 1;
    m_stepRoutes.assign(std::size_t(endStep()) + 1, 0);
    for (const std::int32_t id : order) {
        const State& s = m_states[std::size_t(id)];
        const std::size_t roads = m_graph.roadsFrom(s.town).size();
        for (std::size_t road = 0; road < roads; ++road) {
            const std::int32_t child = m_children[s.edges + road];
            if (child >= 0)
                paths[std::size_t(child)] =
                    saturatingAdd(paths[std::size_t(child)], paths[std::size_t(id)]);
            else if (child == kDestination)
                m_stepRoutes[std::size_t(s.position)] =
                    saturatingAdd(m_stepRoutes[std::size_t(s.position)], paths[std::size_t(id)]);
        }
    }
}

void SearchMemo::remainingKm(int legs, std::vector<std::int64_t>& least,
                             std::vector<std::int64_t>& most) const
{
    least.assign(m_states.size(), kUnreachable);
    most.assign(m_states.size(), -1);
    for (const std::int32_t id : m_finished) {
        const State& s = m_states[std::size_t(id)];
        const int more = legs - s.position;
        if (more < 1 || more > s.longest + 1)
            continue;
        const auto roads = m_graph.roadsFrom(s.town);
        std::int64_t low = kUnreachable;
        std::int64_t high = -1;
        for (std::size_t road = 0; road < roads.size(); ++road) {
            const std::int32_t child = m_children[s.edges + road];
            const std::int64_t km = roads[road].microKm;
            if (child == kDestination && more == 1) {
                low = std::min(low, km);
                high = std::max(high, km);
            } else if (child >= 0 && more > 1 && least[std::size_t(child)] != kUnreachable) {
                low = std::min(low, km + least[std::size_t(child)]);
                high = std::max(high, km + most[std::size_t(child)]);
            }
        }
        least[std::size_t(id)] = low;
        most[std::size_t(id)] = high;
    }
}

std::size_t SearchMemo::memoryBytes() const
{
    return m_states.capacity() * sizeof(State) +
           (m_children.capacity() + m_blocked.capacity() + m_table.capacity() + m_hops.capacity() +
            m_discovery.capacity()) *
               sizeof(std::int32_t) +
           (m_reach.capacity() + m_stepRoutes.capacity()) * sizeof(std::uint64_t) +
           m_finished.capacity() * sizeof(std::int32_t);
}

} // namespace moravelt
