// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/journeyplan.h"
#include "quiz/scorerecord.h"

#include <optional>

namespace moravelt {

// A journey being played: which card is up, the answer given to it, and the score. A quiz card
// waits for its answer before the journey goes on; detours and skipped cards go on at once.
class Journey
{
public:
    explicit Journey(JourneyPlan plan);

    const JourneyPlan& plan() const { return m_plan; }
    int position() const { return m_position; }
    int cardCount() const { return int(m_plan.stops.size()); }
    bool isFinished() const { return m_position >= cardCount(); }
    // The card that is up; only while the journey is not finished.
    const JourneyStop& current() const { return m_plan.stops.at(std::size_t(m_position)); }

    // Answers the quiz card that is up with the answer at this index (0 to 2) as shown: true
    // when it is the correct one. Nothing when the card takes no answer now.
    std::optional<bool> answer(int index);
    // The answer given to the card that is up, if any.
    std::optional<int> chosen() const { return m_chosen; }
    bool canGoOn() const;
    // Goes to the next card (or the end); false when it cannot yet.
    bool next();

    int score() const { return m_score; }
    int right() const { return m_right; }
    int asked() const { return m_asked; }
    // Over the whole journey, whatever has been played of it.
    int possible() const { return m_possible; }
    int questions() const { return m_questions; }

    ScoreRecord record(const QDateTime& when, int seconds) const;

private:
    JourneyPlan m_plan;
    int m_position = 0;
    std::optional<int> m_chosen;
    int m_score = 0;
    int m_right = 0;
    int m_asked = 0;
    int m_possible = 0;
    int m_questions = 0;
};

} // namespace moravelt
