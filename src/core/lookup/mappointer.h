// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>

namespace moravelt {

// The map's pointer state: the drag of the picture and the 90-twip rule that keeps the town
// lookup from running on every small move. Positions are single-precision twips over the picture.
class MapPointer
{
public:
    static constexpr float kLookupStep = 90.0f;

    // A lookup is due once the pointer is 90 twips or more, along x or y, from the point of
    // the last lookup that found a town.
    bool lookupDue(float x, float y) const;

    // A press of any button but the right one starts a drag at the pointer.
    void startDrag(float x, float y);
    void endDrag() { m_dragging = false; }
    bool dragging() const { return m_dragging; }

    // How far the picture must move so the grabbed point comes under the pointer again.
    QPointF dragOffset(float x, float y) const;

    void lookupFound(float x, float y);
    QPointF lastFound() const { return {m_nameX, m_nameY}; }

    bool menuEnabled() const { return m_menu; }
    void setMenuEnabled(bool enabled) { m_menu = enabled; }

private:
    bool m_dragging = false; // MapDragFlg
    float m_downX = 0;       // MapDownX
    float m_downY = 0;       // MapDownY
    float m_nameX = 0;       // MapNameX
    float m_nameY = 0;       // MapNameY
    bool m_menu = false;     // MapMenuFlg
};

} // namespace moravelt
