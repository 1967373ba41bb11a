// SPDX-License-Identifier: MIT

#include "navi/kepttotals.h"

namespace moravelt {

void KeptTotals::add(std::int64_t wholeKm)
{
    ++m_found;
    if (wholeKm < 0 || wholeKm >= kFiveDigits || m_capacity <= 0)
        return;
    if (m_count.empty())
        m_count.assign(std::size_t(kFiveDigits), 0);
    ++m_count[std::size_t(wholeKm)];
    ++m_fiveDigit;
    if (m_cutoff < 0) {
        if (m_fiveDigit < m_capacity)
            return;
        // The first time: the least total with enough routes at or below it.
        std::int64_t sum = 0;
        for (m_cutoff = 0; sum + m_count[std::size_t(m_cutoff)] < m_capacity; ++m_cutoff)
            sum += m_count[std::size_t(m_cutoff)];
        m_atOrBelow = sum + m_count[std::size_t(m_cutoff)];
        return;
    }
    if (wholeKm > m_cutoff)
        return;
    ++m_atOrBelow;
    // The cutoff only comes down; each total is stepped over once in the whole search.
    while (m_atOrBelow - m_count[std::size_t(m_cutoff)] >= m_capacity) {
        m_atOrBelow -= m_count[std::size_t(m_cutoff)];
        do
            --m_cutoff;
        while (m_count[std::size_t(m_cutoff)] == 0);
    }
}

} // namespace moravelt
