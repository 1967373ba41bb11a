// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
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

// The k shortest loopless paths between two towns, exactly, in the order of the route list:
// by length, and paths of equal length by their route string's text. Yen's deviations over
// the road graph; one reverse Dijkstra gives every town its exact distance to the destination
// and its best way there, and each spur is that way when the way is free of the spur's root,
// else found by A* guided by those distances. Both run on binary heaps. Parallel road rows
// count as one road with the shortest row's length; a road from a town to itself is no road.
//
// Roads of length 0 let equally long ways run in circles, where neither search can settle
// ties by text as it goes; on such a graph each spur is built town by town instead (see
// exactSpur), so that the k-th path is still exact and no tie past it is looked at.
class KShortestPaths
{
public:
    explicit KShortestPaths(const RoadGraph& graph);

    // The first k paths in that order (fewer when fewer exist); none when the destination
    // cannot be reached or equals the departure, and none once `cancel` is set: it is looked
    // at inside every loop, so a search on a large graph stops soon.
    std::vector<TownPath> find(int from, int to, int k, const std::atomic<bool>* cancel = nullptr);

    // The length of the road from a town to another; -1 when there is none.
    std::int64_t roadLength(int from, int to) const;

private:
    struct Arc
    {
        std::int32_t to;
        std::int64_t microKm;
    };

    // Town names as they stand in a route string: -1, 0 or 1.
    int compareTowns(std::int32_t a, std::int32_t b) const;
    // The ways on from two towns along m_next, compared as route-string text.
    int compareWaysOn(std::int32_t a, std::int32_t b) const;
    // Whether the path to `a` and then `v` reads before the path to `b` and then `v`.
    bool searchedBefore(std::int32_t a, std::int32_t b, std::int32_t v) const;
    bool pathLess(const TownPath& a, const TownPath& b) const;

    void distancesTo(int to);
    // The best path from root[spur] to the destination that avoids the towns before it on the
    // root and the banned first steps; appended to `path`.
    bool spurPath(const std::vector<std::int32_t>& root, std::size_t spur, int to,
                  const std::vector<std::int32_t>& banned, TownPath& path);
    bool treeSpur(std::int32_t start, int to, const std::vector<std::int32_t>& banned,
                  TownPath& path);
    // spurPath for graphs with roads of length 0.
    bool exactSpur(const std::vector<std::int32_t>& root, std::size_t spur, int to,
                   const std::vector<std::int32_t>& banned, TownPath& path);
    // Whether `from` has a way of exactly its remaining length to `to` over towns neither
    // blocked nor dead; marks every town it searched dead when it has none.
    bool reachesExactly(std::int32_t from, int to);
    // A town's distance left in the spur's graph; -1 when none is known.
    std::int64_t spurLeft(std::int32_t town) const;
    // Whether the search is to stop; looks at the flag every so many calls.
    bool cancelled();

    const RoadGraph& m_graph;
    int m_count = 0;
    bool m_zeroRoads = false;
    std::int32_t m_to = -1;
    std::vector<std::int32_t> m_first;        // arcs of town t: [m_first[t], m_first[t + 1])
    std::vector<Arc> m_arcs;                  // sorted by destination within a town
    std::vector<std::int32_t> m_reverseFirst; // the same, arriving at a town
    std::vector<Arc> m_reverseArcs;
    std::vector<std::int64_t> m_toDestination; // exact remaining distance, or -1
    std::vector<std::int32_t> m_next;          // the next town on the best way there
    // A* state, reused: valid for a town only when its stamp is the current search's.
    std::vector<std::int64_t> m_reached;
    std::vector<std::int32_t> m_parent;
    std::vector<std::int32_t> m_depth;
    std::vector<std::uint32_t> m_seen;
    std::vector<std::uint32_t> m_closed;
    std::vector<std::uint32_t> m_blocked;
    std::uint32_t m_stamp = 0;
    // exactSpur's state: the distance left in the spur's graph (valid where m_leftKnown
    // holds m_stamp), the towns found unable to reach the destination in it (valid under
    // m_stamp), and one search's visits.
    std::vector<std::int64_t> m_spurLeft;
    std::vector<std::uint32_t> m_leftKnown;
    std::vector<std::uint32_t> m_dead;
    std::vector<std::uint32_t> m_visited;
    std::uint32_t m_visit = 0;
    std::vector<std::int32_t> m_searched;
    const std::atomic<bool>* m_cancel = nullptr;
    bool m_cancelled = false;
    unsigned m_sinceLook = 0;
};

} // namespace moravelt
