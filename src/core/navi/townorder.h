// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace moravelt {

// The town names of one road graph with their place in the route list's text order, shared
// by every route a search finds so that a route needs only town ids.
class TownOrder
{
public:
    explicit TownOrder(QStringList names);

    const QString& name(std::int32_t town) const { return m_names.at(town); }
    // Orders two different towns that stand before a "-" in two route strings: the order of
    // the texts name + "-" (a name may be the beginning of another, as "津" of "津山").
    bool before(std::int32_t a, std::int32_t b) const
    {
        return m_rank[std::size_t(a)] < m_rank[std::size_t(b)];
    }

    std::int32_t rank(std::int32_t town) const { return m_rank[std::size_t(town)]; }
    int townCount() const { return int(m_rank.size()); }

private:
    QStringList m_names;
    std::vector<std::int32_t> m_rank;
};

using TownOrderPtr = std::shared_ptr<const TownOrder>;

} // namespace moravelt
