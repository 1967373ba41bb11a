// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <future>
#include <vector>

namespace moravelt {

// The map picture at every zoom level (see MapScale), each level smoothly scaled to half the
// size of the one above it. The full-size level is there at once; the smaller ones are made
// once per picture on a thread of their own, and a level asked for before it is made is waited
// for.
class MapPyramid
{
public:
    MapPyramid() = default;
    // Waits for the levels still being made.
    ~MapPyramid();
    MapPyramid(const MapPyramid&) = delete;
    MapPyramid& operator=(const MapPyramid&) = delete;

    void setPicture(QImage full);
    bool isEmpty() const { return m_full.isNull(); }

    // The picture at a level; waits while it is still being made.
    const QImage& level(int level) const;
    // A level's size, known without waiting.
    QSize size(int level) const;
    // Whether every level is made.
    bool isReady() const;

private:
    QImage m_full;
    std::shared_future<std::vector<QImage>> m_smaller; // levels 1 and on
};

} // namespace moravelt
