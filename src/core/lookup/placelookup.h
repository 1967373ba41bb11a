// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/queryslots.h"

#include <optional>

namespace moravelt {

// Everything one successful town lookup shows. The lookup runs every query first and the
// windows take the result only when all of them succeeded, so a failure leaves them as they were.
struct PlaceLookupResult
{
    QString town;
    RecordsetPtr hit;            // the hit-test result ("DataGrid1")
    RecordsetPtr roads;          // the information window's grid
    RecordsetPtr lastReadRow;    // the quiz or event result read last ("DataGrid2" of Form1)
    std::optional<QString> text; // the quiz or event text, when the town has one
    bool quizShown = false;      // the right-click menu may open
};

// The town lookup and the place panels' queries.
class PlaceLookup
{
public:
    explicit PlaceLookup(QuerySlots& querySlots) : m_slots(querySlots) {}

    // The town under the pointer, with its panels; nothing over empty map.
    std::optional<PlaceLookupResult> MapNameGet(float x, float y, bool withMarks);

    // Roads leaving the town, or for a hidden town the roads it lies on.
    RecordsetPtr SetDGrid2(const QString& town);
    RecordsetPtr SetDGrid3(const QString& town);
    // Fills the text from the town's quiz or event row when there is one.
    bool SetGridQuiz(const QString& town, bool withMarks, PlaceLookupResult& result);
    bool SetGridKakr(const QString& town, PlaceLookupResult& result);

private:
    QuerySlots& m_slots;
};

} // namespace moravelt
