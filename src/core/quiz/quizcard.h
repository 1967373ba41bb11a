// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/journeystop.h"

#include <QVariant>

namespace moravelt {

class Recordset;
class SeededShuffle;

// A town's quiz row as a journey card. The row is read by position as the information window
// reads it (question 1, answers 2 to 4, points 5); the one answer whose mark begins with "正"
// is the correct one. Bad data never stops a journey: a missing or short row, or a row with
// no or several marked answers, gives a skipped card with a note.
namespace QuizCard {

// The card of the first row of a "tbl_Quiz" result (or of none), its answers in the order the
// shuffle gives for the stream.
JourneyStop read(const QString& town, const Recordset& quiz, const SeededShuffle& shuffle,
                 quint64 stream);

// Points as a right answer counts them: a whole number from 0 to 1,000,000, written as a
// number or as text; anything else counts 0.
int points(const QVariant& value);

} // namespace QuizCard

} // namespace moravelt
