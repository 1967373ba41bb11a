// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <vector>

namespace moravelt {

// The whole-km totals of the routes a search has given out, and the bound the full route
// list sets with them. The list keeps the first `capacity` routes in text order, and a route
// string begins with its total in at least five digits: among totals below 10000 km ("0...."),
// and among totals below 100000 km, text order is the order of the numbers, and every total
// below 10000 km comes before every larger one.
//
// Once `capacity` routes of totals below 100000 km are found, the cutoff is the least total
// T such that `capacity` of them have T or less. A route whose total x is above T comes after
// all of those when x < 100000 (numbers in order) or when T < 10000 (T's text begins with
// "0", x's with another digit), so it can never be among the first `capacity` routes, now
// or later: routes only ever join. Routes of total T itself may still come before others of
// total T, and are never cut.
class KeptTotals
{
public:
    static constexpr std::int64_t kFiveDigits = 100000;

    explicit KeptTotals(std::int64_t capacity) : m_capacity(capacity) {}

    void add(std::int64_t wholeKm);
    std::int64_t found() const { return m_found; }
    bool isFull() const { return m_found >= m_capacity; }
    // The cutoff, or -1 while there is none.
    std::int64_t cutoff() const { return m_cutoff; }
    // Whether every route whose whole total lies between `least` and `most` km comes after
    // the routes the list keeps.
    bool cuts(std::int64_t least, std::int64_t most) const
    {
        if (m_capacity <= 0)
            return true;
        return m_cutoff >= 0 && least > m_cutoff && (m_cutoff < 10000 || most < kFiveDigits);
    }

private:
    std::int64_t m_capacity;
    std::int64_t m_found = 0;
    std::int64_t m_fiveDigit = 0;       // found with totals below 100000 km
    std::vector<std::uint32_t> m_count; // routes by whole total below 100000 km
    std::int64_t m_cutoff = -1;
    std::int64_t m_atOrBelow = 0; // found with totals up to the cutoff
};

} // namespace moravelt
