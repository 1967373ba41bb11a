// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "townindex.h"

namespace moravelt {

// One quiz per visible town, each with exactly one correct answer and every answer long
// enough to hold its three-character mark and some text.
class QuizCheck
{
public:
    QuizCheck(const TownIndex& index, Diagnostics& diag) : m_index(index), m_diag(diag) {}

    void run(const WorldData& world);

private:
    void checkAnswers(const WorldQuiz& quiz);

    const TownIndex& m_index;
    Diagnostics& m_diag;
};

} // namespace moravelt
