// SPDX-License-Identifier: MIT

#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace moravelt {

// A stop flag set from another thread, as long work on a worker looks at it: between pieces
// of work, or once every so many turns of a tight loop, where a load per turn would cost
// more than the work. The work then returns; nothing is thrown through the loops and
// algorithms it runs in.
class StopCheck
{
public:
    explicit StopCheck(const std::atomic<bool>* stop = nullptr) : m_stop(stop) {}

    // The flag now.
    bool isSet() const { return m_stop != nullptr && m_stop->load(std::memory_order_relaxed); }
    // Counts one turn of a loop and looks at the flag once every 65,536 turns.
    bool poll()
    {
        return m_stop != nullptr && (++m_turns & (kTurns - 1)) == 0 &&
               m_stop->load(std::memory_order_relaxed);
    }

private:
    static constexpr std::uint32_t kTurns = 65536;
    const std::atomic<bool>* m_stop;
    std::uint32_t m_turns = 0;
};

// Merges two sorted ranges into `out` (stable: on a tie the first range's item comes first),
// looking at `check` first and polling it at every item; false when stopped, with `out` part
// filled.
template <typename T, typename Less>
bool stoppableMerge(const T* a, const T* aEnd, const T* b, const T* bEnd, T* out, Less& less,
                    StopCheck& check)
{
    if (check.isSet())
        return false;
    while (a != aEnd && b != bEnd) {
        if (check.poll())
            return false;
        *out++ = less(*b, *a) ? *b++ : *a++;
    }
    out = std::copy(a, aEnd, out);
    std::copy(b, bEnd, out);
    return true;
}

// A stable sort that a set flag ends soon: runs of a few thousand items are sorted by
// std::stable_sort with the flag looked at between them, then merged pass by pass by
// stoppableMerge. About what std::stable_sort costs on its own, which merges the same way.
// False when stopped, with `items` in no particular order.
template <typename T, typename Less>
bool stoppableStableSort(std::vector<T>& items, Less less, StopCheck& check)
{
    static_assert(std::is_trivially_copyable_v<T>, "merged by plain copies");
    constexpr std::size_t kRun = 4096;
    const std::size_t n = items.size();
    for (std::size_t from = 0; from < n; from += kRun) {
        if (check.isSet())
            return false;
        const auto begin = items.begin() + std::ptrdiff_t(from);
        std::stable_sort(begin, begin + std::ptrdiff_t(std::min(kRun, n - from)), less);
    }
    if (n <= kRun)
        return true;
    std::vector<T> buffer(n);
    T* source = items.data();
    T* target = buffer.data();
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t low = 0; low < n; low += 2 * width) {
            const std::size_t middle = std::min(n, low + width);
            const std::size_t high = std::min(n, low + 2 * width);
            if (!stoppableMerge(source + low, source + middle, source + middle, source + high,
                                target + low, less, check))
                return false;
        }
        std::swap(source, target);
    }
    if (source != items.data())
        items.swap(buffer);
    return true;
}

} // namespace moravelt
