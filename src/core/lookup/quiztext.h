// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVariantList>

namespace moravelt::QuizText {

// The text of a quiz row (question at position 1, answers at 2 to 4, points at 5): an empty
// first line, the question, the three answers with or without their three-character marks,
// and the points followed by " Point!". Lines end in CR LF. Throws when the row is too short.
QString quiz(const QVariantList& row, bool withMarks);

// The event of a hidden town (position 1 of its row) after an empty first line.
QString event(const QVariantList& row);

// An answer as shown: whole with its mark, or from its fourth character on.
QString answer(const QString& text, bool withMarks);

} // namespace moravelt::QuizText
