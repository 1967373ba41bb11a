// SPDX-License-Identifier: MIT

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

// The widest pixel coordinate handed to the window system: Qt's own limit on a widget's size,
// so that its rectangle arithmetic cannot overflow for a window placed far off the screen.
constexpr int kMaxPixels = 16'777'215;

// Twips for a pixel position, computed wide: any int times 15 fits in 64 bits.
inline float fromPixels(int pixels)
{
    return float(std::int64_t(pixels) * kPerPixel);
}

// Pixels for a twips position: the nearest whole pixel, held within ±kMaxPixels (NaN is 0).
inline int toPixels(float twips)
{
    const double pixels = std::round(double(twips) / kPerPixel);
    if (std::isnan(pixels))
        return 0;
    if (pixels >= kMaxPixels)
        return kMaxPixels;
    if (pixels <= -kMaxPixels)
        return -kMaxPixels;
    return int(pixels);
}

} // namespace moravelt::Twips
