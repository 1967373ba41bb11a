#pragma once

#include <cstdint>
#include <vector>

namespace moravelt {

class RoadGraph;

// A loopless path of towns (ids of a road graph) and its length in millionths of a kilometre.
struct TownPath
{
    std::int64_t microKm = 0;
    std::vector<std::int32_t> towns;
};

// The k shortest loopless paths between two towns, exactly. Yen's deviations over the road
// graph; each spur path is found by A* guided by the exact distances to the destination (one
// reverse Dijkstra per query), which finds the same shortest spur as a plain Dijkstra but
// visits little more than the spur itself. Both run on binary heaps. Parallel road rows count
// as one road with the shortest row's length; a road from a town to itself is no road.
class KShortestPaths
{
public:
    explicit KShortestPaths(const RoadGraph& graph);

    // Every path sharing the k-th path's length is enumerated as well, so the caller can
    // break ties by its own order; past this many paths the enumeration stops.
    static constexpr std::size_t kMaxEnumerated = 20'000;

    // Shortest first, at least k paths when that many exist, plus every further path as long
    // as the k-th; none when the destination cannot be reached or equals the departure.
    std::vector<TownPath> find(int from, int to, int k);

    // The length of the road from a town to another; -1 when there is none.
    std::int64_t roadLength(int from, int to) const;

private:
    struct Arc
    {
        std::int32_t to;
        std::int64_t microKm;
    };
    void distancesTo(int to);
    // The shortest path from root[spur] to the destination that avoids the towns before it
    // on the root and the banned first steps; appended to `path`.
    bool spurPath(const std::vector<std::int32_t>& root, std::size_t spur, int to,
                  const std::vector<std::int32_t>& banned, TownPath& path);

    int m_count = 0;
    std::vector<std::int32_t> m_first;        // arcs of town t: [m_first[t], m_first[t + 1])
    std::vector<Arc> m_arcs;                  // sorted by destination within a town
    std::vector<std::int32_t> m_reverseFirst; // the same, arriving at a town
    std::vector<Arc> m_reverseArcs;
    std::vector<std::int64_t> m_toDestination; // exact remaining distance, or -1
    // A* state, reused: valid for a town only when its stamp is the current search's.
    std::vector<std::int64_t> m_reached;
    std::vector<std::int32_t> m_parent;
    std::vector<std::uint32_t> m_seen;
    std::vector<std::uint32_t> m_closed;
    std::vector<std::uint32_t> m_blocked;
    std::uint32_t m_stamp = 0;
};

} // namespace moravelt
