// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <array>

namespace moravelt {

// One card of a journey: a town's quiz, a hidden town met on the way (寄り道), or a town whose
// quiz cannot be asked, with the reason.
struct JourneyStop
{
    enum class Kind
    {
        Quiz,
        Detour,
        Skipped
    };

    Kind kind = Kind::Skipped;
    QString town;                   // the town, or the hidden town of a detour
    QString question;               // Quiz
    std::array<QString, 3> answers; // Quiz: without their marks, in the journey's order
    int correct = -1;               // Quiz: the correct answer's index in answers
    int points = 0;                 // Quiz: what a right answer adds
    QString text;                   // Detour: the event; Skipped: why the quiz is not asked
    QString from;                   // Detour: the leg it lies on, and how far along it
    QString to;
    QString distance;
};

} // namespace moravelt
