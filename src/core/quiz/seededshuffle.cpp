// SPDX-License-Identifier: MIT

#include "quiz/seededshuffle.h"

#include <numeric>
#include <utility>

namespace moravelt {

namespace {

quint64 splitMix(quint64& state)
{
    state += 0x9E3779B97F4A7C15ULL;
    quint64 z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

std::vector<int> SeededShuffle::permutation(int n, quint64 stream) const
{
    std::vector<int> order(std::size_t(std::max(n, 0)));
    std::iota(order.begin(), order.end(), 0);
    // Each seed and stream starts its own sequence; the scrambling makes neighbours unrelated.
    quint64 state = (quint64(m_seed) << 32) ^ (stream * 0xD1B54A32D192ED03ULL);
    splitMix(state);
    // Fisher-Yates from the end; a remainder of 64 random bits is as good as even for the
    // few hundred places a journey ever shuffles.
    for (std::size_t i = order.size(); i > 1; --i) {
        const std::size_t j = std::size_t(splitMix(state) % quint64(i));
        std::swap(order[i - 1], order[j]);
    }
    return order;
}

} // namespace moravelt
