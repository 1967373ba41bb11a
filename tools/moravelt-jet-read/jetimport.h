// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <vector>

class QSqlDatabase;

namespace moravelt {

class JetFile;

// Copies the map tables of a Jet file into an SQLite database with the map tool's schema and
// indexes, so the game's query texts run on it unchanged.
class JetImport
{
public:
    // The game keeps a NULL where the map tool's schema would refuse it (a town without a
    // name still reads as it did); a map file written for map makers refuses it.
    enum class Nulls
    {
        Keep,
        AsBuilt,
    };

    // Checks the Jet file for every table and column the game reads and for the columns'
    // types (MoraveltError naming them), then creates the tables in db (open and empty), copies
    // each row in stored order, a column by its name or else by its place, creates the indexes and
    // analyses them. Returns the rows copied per table, in the order of tablesTheGameReads().
    static std::vector<int> copy(const JetFile& jet, QSqlDatabase& db, Nulls nulls);
};

} // namespace moravelt
