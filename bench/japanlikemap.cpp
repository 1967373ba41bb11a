// SPDX-License-Identifier: MIT

#include "japanlikemap.h"

#include <QPointF>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace moravelt {

test::TestMap japanLikeMap(int towns, quint32 seed)
{
    QRandomGenerator random(seed);
    // Keep the density of the 150-town band whatever the number of towns.
    const double scale = std::sqrt(towns / 150.0);
    const double length = 2400.0 * scale;
    const double width = 300.0 * scale;
    std::vector<QPointF> places;
    for (int i = 0; i < towns; ++i)
        places.emplace_back(random.generateDouble() * length, random.generateDouble() * width);

    // A grid of cells so that finding neighbours stays cheap for ten thousand towns.
    const double cell = 60.0;
    const int columns = int(length / cell) + 1;
    const int rows = int(width / cell) + 1;
    std::vector<std::vector<int>> cells(std::size_t(columns * rows));
    const auto cellOf = [&](const QPointF& p) {
        return std::pair{std::min(int(p.x() / cell), columns - 1),
                         std::min(int(p.y() / cell), rows - 1)};
    };
    for (int i = 0; i < towns; ++i) {
        const auto [cx, cy] = cellOf(places[std::size_t(i)]);
        cells[std::size_t(cy * columns + cx)].push_back(i);
    }

    std::set<std::pair<int, int>> roads;
    for (int i = 0; i < towns; ++i) {
        const int wanted = 3 + random.bounded(3);
        std::vector<std::pair<double, int>> near;
        const auto [cx, cy] = cellOf(places[std::size_t(i)]);
        for (int reach = 1; int(near.size()) <= wanted && reach < columns + rows; ++reach) {
            near.clear();
            for (int y = std::max(cy - reach, 0); y <= std::min(cy + reach, rows - 1); ++y) {
                for (int x = std::max(cx - reach, 0); x <= std::min(cx + reach, columns - 1); ++x) {
                    for (const int j : cells[std::size_t(y * columns + x)]) {
                        if (j != i) {
                            const QPointF d = places[std::size_t(j)] - places[std::size_t(i)];
                            near.emplace_back(std::hypot(d.x(), d.y()), j);
                        }
                    }
                }
            }
        }
        std::sort(near.begin(), near.end());
        for (int k = 0; k < wanted && k < int(near.size()); ++k)
            roads.insert(std::minmax(i, near[std::size_t(k)].second));
    }

    test::TestMap map;
    const auto name = [](int i) { return QStringLiteral("町%1").arg(i); };
    for (int i = 0; i < towns; ++i)
        map.towns.push_back({name(i), places[std::size_t(i)].x(), places[std::size_t(i)].y()});
    for (const auto& [a, b] : roads) {
        const QPointF d = places[std::size_t(a)] - places[std::size_t(b)];
        map.road(name(a), name(b), std::max(1.0, std::round(std::hypot(d.x(), d.y()))));
    }
    return map;
}

} // namespace moravelt
