// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <vector>

namespace moravelt {

// A growing array in blocks of fixed size: no block is ever moved or left half unused by
// doubling, so a few hundred megabytes of nodes cost what they hold.
template <typename T, std::size_t BlockBits = 16> class ChunkedVector
{
public:
    static constexpr std::size_t kBlock = std::size_t(1) << BlockBits;

    std::size_t size() const { return m_size; }
    void push_back(const T& value)
    {
        if (m_size % kBlock == 0) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(kBlock);
        }
        m_blocks.back().push_back(value);
        ++m_size;
    }
    // `count` copies of `value` at the end.
    void append(std::size_t count, const T& value)
    {
        for (; count > 0; --count)
            push_back(value);
    }
    const T& operator[](std::size_t i) const { return m_blocks[i >> BlockBits][i & (kBlock - 1)]; }
    T& operator[](std::size_t i) { return m_blocks[i >> BlockBits][i & (kBlock - 1)]; }
    std::size_t capacity() const { return m_blocks.size() * kBlock; }

private:
    std::vector<std::vector<T>> m_blocks;
    std::size_t m_size = 0;
};

} // namespace moravelt
