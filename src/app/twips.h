#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

namespace moravelt::Twips {

// The fixed conversion between screen pixels and twips.
constexpr int kPerPixel = 15;

// Stores a single-precision position as a whole number: nearest, halves to the even neighbour.
inline std::int32_t round(float twips)
{
    const double whole = std::nearbyint(double(twips));
    if (!(whole > -2147483648.0)) // also catches NaN
        return INT32_MIN;
    if (whole > 2147483647.0)
        return INT32_MAX;
    return std::int32_t(whole);
}

inline float fromPixels(int pixels)
{
    return float(pixels * kPerPixel);
}

// Pixels for a twips position; the nearest whole pixel.
inline int toPixels(float twips)
{
    return int(std::lround(double(twips) / kPerPixel));
}

} // namespace moravelt::Twips
