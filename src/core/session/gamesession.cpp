// SPDX-License-Identifier: MIT

#include "session/gamesession.h"

#include "base/moravelterror.h"

#include <chrono>

namespace moravelt {

namespace {

std::shared_ptr<const TownNameIndex> readNames(const MapDatabase& cn)
{
    try {
        return std::make_shared<const TownNameIndex>(TownNameIndex::load(cn));
    } catch (const MoraveltError&) {
        return std::make_shared<const TownNameIndex>();
    }
}

} // namespace

GameSession::GameSession(const QString& connectionString)
    : m_cn(std::make_unique<MapDatabase>(connectionString)),
      m_slots(std::make_unique<QuerySlots>(*m_cn)), m_places(TownPlaces::load(*m_cn)),
      m_names(readNames(*m_cn))
{
    // RoadGraph::load reads through a connection of its own, so it may run beside the
    // window's thread's queries.
    m_roads = std::async(std::launch::async, [this] {
                  return std::make_shared<const RoadGraph>(RoadGraph::load(*m_cn, &m_closing));
              }).share();
}

GameSession::~GameSession()
{
    m_closing = true;
    if (m_roads.valid())
        m_roads.wait();
}

bool GameSession::roadsReady() const
{
    return m_roads.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

std::shared_ptr<const RoadGraph> GameSession::roads(const std::atomic<bool>* cancel) const
{
    using namespace std::chrono_literals;
    while (m_roads.wait_for(20ms) != std::future_status::ready) {
        if (cancel && *cancel)
            return nullptr;
    }
    return m_roads.get();
}

} // namespace moravelt
