// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/journeystop.h"

#include <QStringList>
#include <vector>

namespace moravelt {

// A journey as it will be played: its cards in order and what the records call it.
struct JourneyPlan
{
    // The route string, or "ランダム" followed by the drawn towns, joined by "-".
    QString route;
    QStringList towns;
    quint32 seed = 0;
    std::vector<JourneyStop> stops;
};

} // namespace moravelt
