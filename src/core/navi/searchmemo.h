// SPDX-License-Identifier: MIT

#pragma once

#include "navi/chunkedvector.h"
#include "navi/roadgraph.h"
#include "navi/searchstep.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace moravelt {

// What every partial route of one search can still become, worked out once before the
// first step, so that each step walks only partial routes that lie on one of its routes.
//
// Let h(t) be the fewest legs from the departure to town t without passing the destination
// (a route ends at the destination, so no partial route passes it). A partial route holds
// at leg position p (p legs from the departure) only towns t with h(t) <= p.
//
// Static rule. The step-by-step search queues town c at position p (in step p - 1) when c
// was first met in step p - 1 - level or later. Town c is first met in step h(c) - 1: the
// fewest-leg partial routes are never pruned (each of their towns stands at its own h), so
// one of them meets c in step h(c) - 1, and no partial route of fewer legs can reach c.
// Hence c may stand at position p exactly when p <= h(c) + level, whatever else the partial
// route holds: the partial routes of step k are the simple paths of k legs from the
// departure, avoiding the destination, whose every town obeys that bound.
//
// Window lemma. A town at position i has h <= i, so it may stand again only at positions up
// to i + level. The extensions of a partial route ending at position p stand at p + 1 or
// later, so only towns at positions p + 1 - level to p can ever be met again; earlier ones
// fail the static rule anyway. The future of a partial route therefore depends only on the
// state (p, last town, those of the last `level` towns whose bound h + level still reaches
// past p). States form a directed acyclic graph (p grows by one per leg), which this class
// walks once, depth first, recording for each state which numbers of further legs end at
// the destination and the longest valid extension.
//
// Least remaining distance. For the same reason every allowed completion of a partial route
// is a path of the state graph from its state to the destination, and every such path is an
// allowed completion: the state decides alone which roads may follow. In step k (routes of
// L = k + 1 legs) a partial route at a state of position p needs exactly L - p more legs, so
// the least km its allowed completions add, least(s), is the least over the state's roads of
// (the road's km, when it reaches the destination and L - p = 1) and (the road's km plus
// least(child), the child standing at p + 1 and needing L - p - 1 legs). Children finish
// before their parents, so one pass in finishing order works it out for a step, and it is
// exact: some allowed completion adds exactly that much, and none adds less. A partial route
// of k km at state s therefore becomes no route of less than k + least(s) km in this step; the
// search abandons it only when every route of at least that total is out of the list (see
// KeptTotals), so nothing that could enter the list is ever cut. The most km, worked out the
// same way, bounds a route's total from above, as totals of six digits sort by text.
class SearchMemo
{
public:
    static constexpr std::int32_t kDestination = -1; // the road ends the route
    static constexpr std::int32_t kBlocked = -2;     // the road leads nowhere allowed
    // Levels above this are searched as this level (the game offers 0 to 4).
    static constexpr int kLargestLevel = 8;

    struct State
    {
        std::int32_t town;
        std::int32_t position;
        std::uint32_t edges;   // first of the town's roads in m_children
        std::uint32_t reach;   // first word of its bits in m_reach
        std::int32_t longest;  // legs of its longest valid extension
        std::uint32_t blocked; // first of its window towns in m_blocked (building only)
    };
    static constexpr std::int64_t kUnreachable = INT64_MAX;

    // departure must be a town of the graph; destination -1 when no road reaches it.
    SearchMemo(const RoadGraph& graph, std::int32_t departure, std::int32_t destination, int level);

    // Builds the table; `check` is asked now and then and stops the work with its answer,
    // and so does a table of more states, or more bytes, than given.
    SearchStop build(const std::function<SearchStop()>& check, std::int64_t maxStates,
                     std::size_t maxBytes = SIZE_MAX);

    int stateCount() const { return int(m_states.size()); }
    const State& state(std::int32_t id) const { return m_states[std::size_t(id)]; }
    // The state a road (in the town's row order) leads to, or kDestination / kBlocked.
    std::int32_t child(const State& from, int road) const
    {
        return m_children[from.edges + std::uint32_t(road)];
    }
    // Whether the state ends at the destination after exactly `legs` more legs.
    bool reaches(std::int32_t id, int legs) const
    {
        const State& s = m_states[std::size_t(id)];
        if (legs < 1 || legs > s.longest + 1)
            return false;
        const int bit = legs - 1;
        return (m_reach[s.reach + std::uint32_t(bit / 64)] >> (bit % 64)) & 1U;
    }
    // For the routes of `legs` legs: the least and the most km each state's allowed
    // completions add (see above); kUnreachable and -1 where it has none.
    void remainingKm(int legs, std::vector<std::int64_t>& least,
                     std::vector<std::int64_t>& most) const;
    // The last step: the longest valid partial route, in legs.
    int endStep() const { return m_states.empty() ? 0 : m_states.front().longest; }
    // Routes found in step k (saturating).
    std::uint64_t routesInStep(int k) const
    {
        return k >= 0 && k < int(m_stepRoutes.size()) ? m_stepRoutes[std::size_t(k)] : 0;
    }
    // Towns in the order a breadth-first walk from the departure first meets them, never
    // entering the destination; the towns at h = k + 1 are first met in step k.
    std::vector<std::int32_t> firstMetInStep(int k) const;
    std::int32_t hops(std::int32_t town) const { return m_hops[std::size_t(town)]; }
    std::size_t memoryBytes() const;

private:
    void findHops();
    std::int32_t stateOf(std::int32_t position, std::int32_t town, const std::int32_t* blocked,
                         bool& fresh);
    std::size_t slotOf(std::int32_t position, std::int32_t town, const std::int32_t* blocked) const;
    void growTable();
    void finish(std::int32_t id);
    void countRoutes();

    const RoadGraph& m_graph;
    std::int32_t m_departure;
    std::int32_t m_destination;
    int m_level;
    int m_window; // towns kept besides the last one: level - 1, at least 0
    std::vector<std::int32_t> m_hops;
    std::vector<std::int32_t> m_discovery;
    std::vector<State> m_states;
    // Grown in blocks: a dense map's table is mostly this, and doubling it would need the
    // old and the new copy at once.
    ChunkedVector<std::int32_t> m_children;
    std::vector<std::uint64_t> m_reach;
    std::vector<std::int32_t> m_finished; // states in the order they were finished
    std::vector<std::int32_t> m_blocked;
    std::vector<std::int32_t> m_table; // open addressing over states, -1 empty
    std::vector<std::uint64_t> m_stepRoutes;
};

} // namespace moravelt
