// SPDX-License-Identifier: MIT

#pragma once

#include "navi/kepttotals.h"
#include "navi/roadgraph.h"
#include "navi/searchlimits.h"
#include "navi/searchmemo.h"
#include "navi/searchstep.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace moravelt {

// The route search, one step per call so that the caller can ask, yield or stop between
// steps. Step k finds the routes of k + 1 legs: the simple paths from the departure that
// never pass the destination and whose town at each position p obeys p <= h + level (h the
// town's fewest legs from the departure); see SearchMemo for why these are exactly the
// routes the step-by-step search with its look-back finds. Each step is a depth-first walk
// bounded to k + 1 legs that enters only partial routes the memo says end at the
// destination after exactly that many legs, so memory stays proportional to what is found.
//
// Full list. The route list keeps limits.maxRoutes routes. Once that many are found the
// search goes on: a step gives out only routes that may still be among the first maxRoutes
// in text order, and abandons a partial route when even its least allowed completion
// (SearchMemo::remainingKm) would come after them (KeptTotals). What the list keeps is then
// exactly the first maxRoutes, in text order, of all the routes the level allows.
//
// Bands. A step that may fill the list is walked in bands of whole totals, shortest first:
// band i gives out the routes of totals in (B(i-1), B(i)] and enters only partial routes
// whose least completion is at most B(i) and whose most is above B(i-1) (whole km never
// decrease as km grow, so the others' routes all lie in other bands). Every route of the
// step lies in exactly one band, so a band walk misses none of them; after band i every
// route of total up to B(i) has been given out or cut by the list's bound. Once that bound
// cuts every total above B(i) (KeptTotals::cuts), the later bands could give out nothing the
// list keeps, and the step ends. A depth-first walk of the whole step meets its routes in no
// order of total, so the list's bound comes down slowly while millions of routes within it
// are given out and pushed out again; bands give out little more than the list keeps. Band
// edges only decide which routes are found when, never which are kept: the step's routes
// are sorted into text order after.
//
// Memory. The memo's table, the step's batch, the walk's stack and bounds, the batches given
// out before (the list holds them) and each listed route's place in the sort and the list are
// counted against limits.memoryBudget; reaching it stops the search, keeping what was found.
//
// Order. The step-by-step search orders its frontier by the entry each partial route grew
// from and then by the row order of the roads, which is the lexicographic order of the rows
// taken; a depth-first walk taking each town's roads in row order meets the same partial
// routes, and so the same routes, in that same order. A step walked in bands gives them out
// band by band instead; the list sorts every step's routes into text order anyway.
class RouteSearch
{
public:
    // The graph must outlive the search. Level 0 is the roughest; below 0 counts as 0.
    // `stopFlag`, when given, cancels like cancel().
    RouteSearch(const RoadGraph& graph, const QString& departure, const QString& destination,
                int level, SearchLimits limits = {}, const std::atomic<bool>* stopFlag = nullptr);

    // Runs the next step. After the last step or a stop, the search is over.
    SearchStep step();
    bool isOver() const { return m_over; }
    // Safe from any thread: the running step stops soon with SearchStop::Cancelled.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    int nextStepIndex() const { return m_step; }
    // The last step (valid once the first step has run).
    int endStep() const { return m_memo ? m_memo->endStep() : 0; }
    // Routes step k finds, saturating (valid once the first step has run).
    std::uint64_t routesInStep(int k) const { return m_memo ? m_memo->routesInStep(k) : 0; }
    int stateCount() const { return m_memo ? m_memo->stateCount() : 0; }
    std::int64_t expandedTotal() const { return m_expanded; }
    // Routes found and not cut by the full list's bound, including those pushed out since.
    std::int64_t routesFound() const { return m_kept.found(); }
    // The search's own memory, the road graph and the routes given out not included.
    std::size_t memoryBytes() const { return m_memo ? m_memo->memoryBytes() : 0; }
    // What a route the list keeps costs against the memory budget besides its batch (its
    // total and its share of the towns' tree): its place and rank in the step's text order,
    // and its place in the list and in the merge that builds it.
    static constexpr std::size_t kBytesPerListedRoute = 32;
    // No upper end to a band of totals.
    static constexpr std::int64_t kNoBound = INT64_MAX;

private:
    struct Prefix
    {
        std::int32_t state;
        std::int32_t node;
        std::int64_t microKm;
    };

    // A road of a partial route, with the least total of the routes through it.
    struct Choice
    {
        std::int64_t least;
        int road;
    };

    SearchStop limitReached() const;
    // m_least and m_most for the routes of `legs` legs.
    void prepareBounds(int legs);
    void orderRoads(std::int64_t microKm, const SearchMemo::State& state, int legs,
                    std::vector<Choice>& order);
    // Walks the partial routes from `from`, giving out only routes whose whole total lies in
    // the band (m_bandLow, m_bandHigh].
    SearchStop walk(const Prefix& from, int legs, RouteBatch& out, std::int64_t& expanded);
    // The step in bands of totals, shortest first, until the list's bound lies within them.
    SearchStop walkInBands(std::int32_t root, int legs, RouteBatch& out, std::int64_t& expanded);
    // Whether every route of `leastMicroKm` to `mostMicroKm` is out of the full list.
    bool cut(std::int64_t leastMicroKm, std::int64_t mostMicroKm) const;
    // Whether the full list has set a bound yet.
    bool cutting() const { return m_limits.maxRoutes == 0 || m_kept.cutoff() >= 0; }
    std::size_t keptBytes(int stepRoutes) const;

    const RoadGraph& m_graph;
    SearchLimits m_limits;
    int m_level;
    std::int32_t m_departure;
    std::int32_t m_destination;
    TownOrderPtr m_towns;
    std::unique_ptr<SearchMemo> m_memo;
    int m_step = 0;
    bool m_over = false;
    std::int64_t m_expanded = 0;
    KeptTotals m_kept;
    // SearchMemo::remainingKm for the routes of m_leastLegs legs.
    std::vector<std::int64_t> m_least;
    std::vector<std::int64_t> m_most;
    int m_leastLegs = -1;
    std::vector<std::vector<Choice>> m_orders; // per depth of the walk
    std::int64_t m_foundBeforeStep = 0;
    std::size_t m_givenBytes = 0; // the batches of earlier steps
    std::int64_t m_bandLow = -1;
    std::int64_t m_bandHigh = kNoBound;
    std::int64_t m_inBands = 0; // routes the step's bands gave out, in whole km up to m_bandHigh
    std::chrono::steady_clock::duration m_elapsed{};
    std::chrono::steady_clock::time_point m_stepStart;
    std::atomic<bool> m_cancelled{false};
    const std::atomic<bool>* m_stopFlag;
};

} // namespace moravelt
