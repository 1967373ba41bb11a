// SPDX-License-Identifier: MIT

#pragma once

#include "navi/chunkedvector.h"
#include "navi/townorder.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <vector>

namespace moravelt {

// The routes one search step found, held compactly: the step's routes all have the same
// number of legs, and each is the last town before the destination, as a node of a tree of
// the towns walked from the departure, and the exact total. The route string is made only
// when it is asked for. Found order is kept; textOrder() gives the route list's order.
class RouteBatch
{
public:
    struct Node
    {
        std::int32_t parent; // -1 for the departure
        std::int32_t town;
    };
    struct Route
    {
        std::int64_t microKm;
        std::uint32_t node;
    };

    RouteBatch() = default;
    RouteBatch(TownOrderPtr towns, std::int32_t destination, int legs)
        : m_towns(std::move(towns)), m_destination(destination), m_legs(legs)
    {
    }

    int size() const { return int(m_routes.size()); }
    bool isEmpty() const { return m_routes.empty(); }
    int legs() const { return m_legs; }
    const TownOrderPtr& towns() const { return m_towns; }

    std::uint32_t addNode(std::int32_t parent, std::int32_t town)
    {
        m_nodes.push_back({parent, town});
        return std::uint32_t(m_nodes.size() - 1);
    }
    void addRoute(std::uint32_t node, std::int64_t microKm) { m_routes.push_back({microKm, node}); }
    // Drops the routes from `count` on (nodes stay; they cost little).
    void truncate(int count) { m_routes.resize(std::size_t(count)); }
    // Keeps the first `count` routes in text order, in found order, and drops the others
    // with the nodes only they used; `liveNodes` (-1 for none) stay, renumbered in place.
    // Leaves the batch without a text order.
    void keepFirst(int count, std::vector<std::int32_t>& liveNodes);

    QString text(int route) const;
    QStringList texts() const;
    std::int64_t microKm(int route) const { return m_routes[std::size_t(route)].microKm; }
    // The route's towns from the departure to the destination.
    void townsOf(int route, std::vector<std::int32_t>& towns) const;

    // The towns of the last two routes of other batches compared. Merging two sorted lists
    // compares one route with many of the other list in a row. Valid while the batches live
    // where they are.
    class TownsCache
    {
    public:
        void reset() { *this = {}; }

    private:
        friend class RouteBatch;
        struct Slot
        {
            const RouteBatch* batch = nullptr;
            int route = -1;
            std::vector<std::int32_t> towns;
        };
        const std::vector<std::int32_t>& townsOf(const RouteBatch& batch, int route, int keep);
        Slot m_slots[2];
        int m_older = 0;
    };

    // The order of two routes' texts, -1, 0 or 1, without making the texts. Both batches
    // must come from one search.
    static int compare(const RouteBatch& a, int i, const RouteBatch& b, int j,
                       TownsCache* cache = nullptr);
    // Sorts the routes' indexes into text order (stable); costly, so done off the window's
    // thread before the batch is shown. Every route of a batch has the same number of legs,
    // so among routes of one total the text order is the order of the paths, town by town,
    // by TownOrder: the order in which a walk of the node tree meets them when it takes
    // each node's children in that order.
    // A set `stop` ends the sorting soon: false then, and the batch has no text order.
    bool sortTextOrder(const std::atomic<bool>* stop = nullptr);
    const std::vector<std::uint32_t>& textOrder() const { return m_textOrder; }

    std::size_t memoryBytes() const;
    // What its nodes and routes fill, blocks reserved but untouched not counted.
    std::size_t filledBytes() const
    {
        return m_nodes.size() * sizeof(Node) + m_routes.size() * sizeof(Route);
    }
    // What sortTextOrder() holds for a moment besides the batch: a subtree size per node, and
    // a path rank and a sort buffer entry per route.
    std::size_t sortingBytes() const
    {
        return (m_nodes.size() + 2 * m_routes.size()) * sizeof(std::uint32_t);
    }

private:
    std::uint64_t signatureFrom(std::size_t start, int route, int bits) const;

    TownOrderPtr m_towns;
    std::int32_t m_destination = -1;
    int m_legs = 0;
    ChunkedVector<Node> m_nodes;
    std::vector<Route> m_routes;
    std::vector<std::uint32_t> m_textOrder;
    // With the text order: the towns all routes begin with, and each route's ranks of the
    // towns after them.
    std::vector<std::int32_t> m_prefix;
    std::vector<std::uint64_t> m_signature;
};

} // namespace moravelt
