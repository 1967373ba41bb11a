// SPDX-License-Identifier: MIT

#include "lookup/placelookup.h"

#include "lookup/quiztext.h"
#include "mapdb/querytexts.h"

namespace moravelt {

std::optional<PlaceLookupResult> PlaceLookup::MapNameGet(float x, float y, bool withMarks)
{
    m_slots.SetSQL(QueryTexts::hitTest(x, y));
    PlaceLookupResult result;
    result.hit = m_slots.Rs();
    if (result.hit->rowCount() == 0)
        return std::nullopt;
    result.town = result.hit->row(0).value(0).toString();
    result.roads = SetDGrid2(result.town);
    result.quizShown = SetGridQuiz(result.town, withMarks, result);
    SetGridKakr(result.town, result);
    return result;
}

RecordsetPtr PlaceLookup::SetDGrid2(const QString& town)
{
    m_slots.SetSQL(QueryTexts::distances(town));
    if (m_slots.Rs()->rowCount() == 0)
        return SetDGrid3(town);
    return m_slots.Rs();
}

RecordsetPtr PlaceLookup::SetDGrid3(const QString& town)
{
    m_slots.SetSQL(QueryTexts::hiddenDistances(town));
    return m_slots.Rs();
}

bool PlaceLookup::SetGridQuiz(const QString& town, bool withMarks, PlaceLookupResult& result)
{
    m_slots.SetSQL(QueryTexts::quiz(town));
    result.lastReadRow = m_slots.Rs();
    if (result.lastReadRow->rowCount() == 0)
        return false;
    result.text = QuizText::quiz(result.lastReadRow->row(0), withMarks);
    return true;
}

bool PlaceLookup::SetGridKakr(const QString& town, PlaceLookupResult& result)
{
    m_slots.SetSQL(QueryTexts::hiddenEvent(town));
    result.lastReadRow = m_slots.Rs();
    if (result.lastReadRow->rowCount() == 0)
        return false;
    result.text = QuizText::event(result.lastReadRow->row(0));
    return true;
}

} // namespace moravelt
