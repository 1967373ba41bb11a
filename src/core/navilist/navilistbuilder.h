// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

class FlexGridModel;
class QuerySlots;

// Turns a route string into the navigation list: a row per leg with its distance, a row per
// hidden town along the leg with its event and distance, and a final row for the last town;
// with answers shown, each leg row and the final row carry the correct quiz answer of their
// first town. Data that lacks a row or holds a null leaves the cell empty and goes on.
class NaviListBuilder
{
public:
    explicit NaviListBuilder(QuerySlots& querySlots) : m_slots(querySlots) {}

    // Replaces the grid's rows from row 1 on. Throws MoraveltError for a route string that
    // names no town, before touching the grid, and passes on database failures.
    void NaveSet(const QString& strRuto, bool showAnswers, FlexGridModel& grid);

private:
    void writeLeg(const QString& from, const QString& to, bool showAnswers, FlexGridModel& grid);
    void writeHiddenTowns(const QString& from, const QString& legDestination, FlexGridModel& grid);
    void writeAnswer(const QString& town, int row, FlexGridModel& grid);

    QuerySlots& m_slots;
};

} // namespace moravelt
