// SPDX-License-Identifier: MIT

#include "lookup/mappointer.h"

namespace moravelt {

bool MapPointer::lookupDue(float x, float y) const
{
    // Each bound is held in single precision before the comparison.
    const float left = m_nameX - kLookupStep;
    const float right = m_nameX + kLookupStep;
    const float top = m_nameY - kLookupStep;
    const float bottom = m_nameY + kLookupStep;
    return x <= left || x >= right || y <= top || y >= bottom;
}

void MapPointer::startDrag(float x, float y)
{
    m_downX = x;
    m_downY = y;
    m_dragging = true;
}

QPointF MapPointer::dragOffset(float x, float y) const
{
    return {double(-(m_downX - x)), double(-(m_downY - y))};
}

void MapPointer::lookupFound(float x, float y)
{
    m_nameX = x;
    m_nameY = y;
}

} // namespace moravelt
