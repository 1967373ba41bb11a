// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/journeyplan.h"

namespace moravelt {

class MapDatabase;
class SeededShuffle;

// Lays a journey out from the map: every town of a route in travel order, with the hidden
// towns of each leg between them as the navigation list lists them (the same queries, the
// same order); or towns drawn at random from those with a quiz. The game and the map tool
// plan through this one class, so the same seed gives the same journey in both.
class JourneyPlanner
{
public:
    static constexpr int kRandomTowns = 10;
    // What the records call a journey without a route.
    static const QString kRandomName;

    explicit JourneyPlanner(const MapDatabase& cn) : m_cn(cn) {}

    // Throws MoraveltError for a route string that names no town, and on a failed query.
    JourneyPlan along(const QString& route, quint32 seed) const;
    // Throws MoraveltError when no town has a quiz, and on a failed query.
    JourneyPlan random(quint32 seed, int count = kRandomTowns) const;

private:
    JourneyPlan plan(const QString& route, const QStringList& towns, quint32 seed,
                     bool withDetours) const;
    void addDetours(const QString& from, const QString& to, std::vector<JourneyStop>& stops) const;

    const MapDatabase& m_cn;
};

} // namespace moravelt
