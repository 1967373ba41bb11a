// SPDX-License-Identifier: MIT

#pragma once

#include "navi/roadgraph.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace moravelt::test {

// The breadth-first route search the game first shipped, kept as the reference that the
// game's search is compared with: every partial route of a step is stored, a route never
// passes a town twice, and a town first met more than the level's steps ago is not queued
// again. Bounded by the partial routes it may hold.
class BfsRouteSearch
{
public:
    struct Step
    {
        int index = 0;
        QStringList routes;
        QStringList firstMet;
        bool frontierEmpty = false;
        bool capped = false; // stopped at the bound of partial routes
        std::int64_t expanded = 0;
    };

    BfsRouteSearch(const RoadGraph& graph, const QString& departure, const QString& destination,
                   int level, std::int64_t maxPartialRoutes = 4'000'000);

    Step step();
    bool isOver() const { return m_over; }
    std::int64_t partialRoutes() const { return std::int64_t(m_entries.size()); }
    std::int64_t expandedTotal() const { return m_expanded; }
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

    const RoadGraph& m_graph;
    std::int64_t m_maxPartialRoutes;
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
};

} // namespace moravelt::test
