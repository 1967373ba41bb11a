// SPDX-License-Identifier: MIT

#pragma once

#include "lookup/townplaces.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "navi/roadgraph.h"
#include "navi/townnameindex.h"

#include <QString>
#include <atomic>
#include <future>
#include <memory>

namespace moravelt {

// What one game reads from its map: the connection and its query slots, the town places,
// the name index and one road graph. The map never changes while the game runs, so the road
// graph is read once, on a thread of its own from the moment the map is open, and shared by
// every search ("ナビ作成" and "最短ルート") that asks for it.
class GameSession
{
public:
    // Opens the map whose connection string is given; throws MoraveltError naming the file.
    explicit GameSession(const QString& connectionString);
    // Stops reading the roads, if it still runs, and waits for it.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    const MapDatabase& map() const { return *m_cn; }
    QuerySlots& querySlots() { return *m_slots; }
    const TownPlaces& townPlaces() const { return m_places; }
    // Completion is a help: a map whose names cannot be read has an empty index.
    std::shared_ptr<const TownNameIndex> names() const { return m_names; }

    // The road graph; waits for the reading to end. From any thread. Throws MoraveltError
    // when the roads could not be read, and the same error on every call after. While
    // `cancel` is set it gives up waiting and returns nothing.
    std::shared_ptr<const RoadGraph> roads(const std::atomic<bool>* cancel = nullptr) const;
    // Whether roads() returns at once.
    bool roadsReady() const;

private:
    std::unique_ptr<MapDatabase> m_cn;
    std::unique_ptr<QuerySlots> m_slots;
    TownPlaces m_places;
    std::shared_ptr<const TownNameIndex> m_names;
    std::atomic<bool> m_closing{false};
    std::shared_future<std::shared_ptr<const RoadGraph>> m_roads;
};

} // namespace moravelt
