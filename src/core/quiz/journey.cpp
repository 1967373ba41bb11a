// SPDX-License-Identifier: MIT

#include "quiz/journey.h"

namespace moravelt {

Journey::Journey(JourneyPlan plan) : m_plan(std::move(plan))
{
    for (const JourneyStop& stop : m_plan.stops) {
        if (stop.kind == JourneyStop::Kind::Quiz) {
            ++m_questions;
            m_possible += stop.points;
        }
    }
}

std::optional<bool> Journey::answer(int index)
{
    if (isFinished() || current().kind != JourneyStop::Kind::Quiz || m_chosen || index < 0 ||
        index > 2)
        return std::nullopt;
    m_chosen = index;
    ++m_asked;
    const bool right = index == current().correct;
    if (right) {
        ++m_right;
        m_score += current().points;
    }
    return right;
}

bool Journey::canGoOn() const
{
    return !isFinished() && (current().kind != JourneyStop::Kind::Quiz || m_chosen);
}

bool Journey::next()
{
    if (!canGoOn())
        return false;
    ++m_position;
    m_chosen.reset();
    return true;
}

ScoreRecord Journey::record(const QDateTime& when, int seconds) const
{
    return {when, m_plan.route, m_score, m_possible, m_right, m_questions, seconds, m_plan.seed};
}

} // namespace moravelt
