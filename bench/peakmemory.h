// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace moravelt {

// How far the resident memory rose above its level when this object was made. The kernel's
// high-water mark is reset first, so each measurement sees only its own peak.
class PeakMemory
{
public:
    PeakMemory();
    std::int64_t growthBytes() const;

private:
    std::int64_t m_startBytes;
};

} // namespace moravelt
