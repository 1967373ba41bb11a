// SPDX-License-Identifier: MIT

#include "mapview/mappyramid.h"

#include "lookup/mapscale.h"

#include <algorithm>
#include <chrono>

namespace moravelt {

namespace {

QSize half(QSize size)
{
    return {std::max(1, (size.width() + 1) / 2), std::max(1, (size.height() + 1) / 2)};
}

} // namespace

MapPyramid::~MapPyramid()
{
    if (m_smaller.valid())
        m_smaller.wait();
}

void MapPyramid::setPicture(QImage full)
{
    if (m_smaller.valid())
        m_smaller.wait();
    m_full = std::move(full);
    m_smaller = {};
    if (m_full.isNull())
        return;
    // Each level from the one above: a smooth halving averages the pixels it merges.
    m_smaller = std::async(std::launch::async, [full = m_full] {
                    std::vector<QImage> levels;
                    QImage above = full;
                    for (int level = 1; level < MapScale::kLevels; ++level) {
                        above = above.scaled(half(above.size()), Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation);
                        levels.push_back(above);
                    }
                    return levels;
                }).share();
}

const QImage& MapPyramid::level(int level) const
{
    level = MapScale::clamp(level);
    if (level == MapScale::kFull || m_full.isNull())
        return m_full;
    return m_smaller.get()[std::size_t(level - 1)];
}

QSize MapPyramid::size(int level) const
{
    QSize size = m_full.size();
    for (int i = 0; i < MapScale::clamp(level) && !size.isEmpty(); ++i)
        size = half(size);
    return size;
}

bool MapPyramid::isReady() const
{
    return !m_smaller.valid() ||
           m_smaller.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace moravelt
