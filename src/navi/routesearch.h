#pragma once

#include "navi/roadgraph.h"
#include "navi/searchlimits.h"
#include "navi/searchstep.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace moravelt {

// The breadth-first route search, one step per call so that the caller can ask, yield or
// stop between steps. A partial route is a town, the partial route it grew from and the
// running total; a route never passes a town twice, and a town first met more than the
// precision level's steps ago is not queued again. Towns are compared by identity.
class RouteSearch
{
public:
    // The graph must outlive the search. Level 0 is the roughest; below 0 counts as 0.
    RouteSearch(const RoadGraph& graph, const QString& departure, const QString& destination,
                int level, SearchLimits limits = {});

    // Runs the next step. After a step with an empty frontier or a stop, the search is over.
    SearchStep step();
    bool isOver() const { return m_over; }
    // Safe from any thread: the running step stops soon with SearchStop::Cancelled.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }

    int nextStepIndex() const { return m_step; }
    std::int64_t partialRoutes() const { return std::int64_t(m_entries.size()); }
    std::int64_t expandedTotal() const { return m_expanded; }
    std::int64_t routesFound() const { return m_routes; }
    // The search's own memory, the road graph not included.
    std::size_t memoryBytes() const;

private:
    struct Entry
    {
        std::int32_t town;
        std::int32_t parent; // -1 for the departure
        std::int64_t microKm;
    };

    void followPath(std::int32_t entry);
    QString routeString(std::int64_t microKm) const;
    SearchStop limitReached(std::chrono::steady_clock::time_point stepStart) const;

    const RoadGraph& m_graph;
    SearchLimits m_limits;
    int m_lookBack;
    std::int32_t m_destination;
    std::vector<Entry> m_entries; // every partial route; a step's frontier is a range
    std::size_t m_frontierBegin = 0;
    std::vector<std::int32_t> m_firstMet; // step in which each town was first met, -1 never
    std::vector<std::uint8_t> m_onPath;   // towns of the partial route being expanded
    std::vector<std::int32_t> m_path;     // its entries, one per leg count
    std::vector<std::int32_t> m_pending;
    int m_step = 0;
    bool m_over = false;
    std::int64_t m_expanded = 0;
    std::int64_t m_routes = 0;
    std::chrono::steady_clock::duration m_elapsed{};
    std::atomic<bool> m_cancelled{false};
};

} // namespace moravelt
