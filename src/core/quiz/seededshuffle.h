// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>
#include <vector>

namespace moravelt {

// The journey's chance: a permutation drawn from a seed and a stream number with integer
// arithmetic of its own (SplitMix64), so that the game and the map tool, on any machine and Qt
// version, shuffle the same seed the same way. Stream 0 draws a journey's towns; stream k + 1
// orders the answers of stop k.
class SeededShuffle
{
public:
    explicit SeededShuffle(quint32 seed) : m_seed(seed) {}

    quint32 seed() const { return m_seed; }
    // A permutation of 0..n-1: the same for the same seed and stream.
    std::vector<int> permutation(int n, quint64 stream) const;

private:
    quint32 m_seed;
};

} // namespace moravelt
