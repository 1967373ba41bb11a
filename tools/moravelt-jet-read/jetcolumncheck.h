// SPDX-License-Identifier: MIT

#pragma once

#include "jetfile.h"

namespace moravelt {

// What the game does with a column's values.
enum class ColumnUse
{
    Any,    // copied as they are
    Number, // compared, summed or sorted as numbers
    Text,   // names and texts
};

// How the game uses a column of its five tables, by the column's name.
ColumnUse columnUse(const QString& column);

// Whether two names of the same length differ in one character (without regard to case): a
// name a damaged byte has changed, more likely than another name.
bool oneCharacterApart(const QString& a, const QString& b);

// A name as Jet stores it: not empty, no control characters or non-characters, nothing libmdb
// could not convert.
bool soundName(const QString& name);

// A name between 「」 as a message shows it, each character that would not show spelled out
// as <U+XXXX>.
QString shownName(const QString& name);

// Why a column's declared type is damaged (a type number Jet does not have, a size or a
// fixed/variable layout that does not fit it) or cannot hold what the game reads there, in
// words naming the table, the column and its type; empty when it is sound.
QString jetColumnFault(const QString& table, const JetFile::Column& column, ColumnUse use);

} // namespace moravelt
