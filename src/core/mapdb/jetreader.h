// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <chrono>
#include <vector>

namespace moravelt {

// Reads a Jet 3 or Jet 4 map file through the reader program "moravelt-jet-read", started as a
// child process. libmdb, which reads the format, believes whatever the file says and some
// damaged files crash it or make it loop; in a child, that costs the child alone, and the
// game's own standard streams are never touched. The file is only ever read.
class JetReader
{
public:
    // Whether NULLs the map tool's schema refuses are kept (as the game reads a Jet map) or
    // refused (a map file for map makers).
    enum class Nulls
    {
        Keep,
        AsBuilt,
    };

    // How long the child may take before it is stopped and the file called unreadable: a
    // map of 10,000 towns takes well under a second.
    static constexpr std::chrono::seconds kTimeLimit{30};

    // The reader's exit code for a file it refuses with a message of its own (on its
    // standard output, one message a player can read); 0 means the copy is whole and its
    // standard output says "rows" and the rows copied per table.
    static constexpr int kRefusedExit = 3;

    // Writes the map tables of jetFile into a new SQLite file at sqliteFile, in a folder of
    // the caller's, with the map tool's schema and indexes. Returns the rows copied per
    // table, in the order of tablesTheGameReads(). Throws MoraveltError naming the Jet file:
    // its own reason when the reader refuses the file, "damaged or unsupported" when the
    // reader crashes, runs out of time or fails otherwise, each with what libmdb said.
    static std::vector<int> copy(const QString& jetFile, const QString& sqliteFile, Nulls nulls,
                                 std::chrono::milliseconds timeLimit = kTimeLimit);

    // The reader program: where the installed layout puts it relative to the running
    // executable (libexec/moravelt beside bin), unless setProgram named another.
    static QString program();
    // For programs that do not run from the game's folder, such as tests.
    static void setProgram(const QString& path);
};

} // namespace moravelt
