// SPDX-License-Identifier: MIT

#pragma once

#include "sourceref.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace moravelt {

// The sample world as read from its text tables, every list in file order: the game relies on
// the order in which the rows reach the database.

struct WorldTown
{
    QString name;
    QString reading; // hiragana, for finding a town by how it is said
    QString prefecture;
    bool hidden = false;
    bool hasPosition = false; // false when the coordinates could not be read
    double lat = 0;
    double lon = 0;
    SourceRef at;
};

// A ferry longer than this is a long-distance service (Japan's own threshold): it has a
// named operator in the notes and sails round the land that its straight line may cross.
inline constexpr int kLongFerryKm = 300;

struct WorldRoad
{
    QString from;
    QString to;
    int km = -1; // -1 when the distance could not be read
    bool ferry = false;
    SourceRef at;
};

struct WorldHiddenLeg
{
    QString from;
    QString to;
    QString hidden;
    int distance = -1; // km from `from`; -1 when it could not be read
    SourceRef at;
};

struct WorldEvent
{
    QString hidden;
    QString text; // line breaks already turned into CR LF
    SourceRef at;
};

struct WorldQuiz
{
    QString town;
    QString question; // line breaks already turned into CR LF
    std::array<QString, 3> answers;
    int points = 0;
    SourceRef at;
};

// The map makers' notes (SOURCES.md), line by line: the long ferries must be named there.
struct WorldNotes
{
    QString file;
    QStringList lines; // empty when the file is missing
};

struct WorldData
{
    std::vector<WorldTown> towns;
    std::vector<WorldRoad> roads;
    std::vector<WorldHiddenLeg> hiddenLegs;
    std::vector<WorldEvent> events;
    std::vector<WorldQuiz> quizzes;
    WorldNotes notes;
    // Tables that could not be read as tables at all; their rows are missing, so the checks
    // across tables would only repeat that fault.
    QStringList unsoundTables;
};

} // namespace moravelt
