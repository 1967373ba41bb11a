// SPDX-License-Identifier: MIT

#include "navi/routebatch.h"

#include "navi/routestring.h"
#include "navi/stopcheck.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <numeric>
#include <string_view>

namespace moravelt {

namespace {

std::int64_t wholeKm(std::int64_t microKm)
{
    return RouteString::wholeKm(microKm);
}

// The order of two totals' texts: at least five digits, so "100000" before "20000".
int compareTotals(std::int64_t a, std::int64_t b)
{
    if (a == b)
        return 0;
    constexpr std::int64_t kFiveDigits = 100000;
    if (a < kFiveDigits && b < kFiveDigits)
        return a < b ? -1 : 1;
    const auto digits = [](std::int64_t value, char* out) {
        char raw[24];
        const char* end = std::to_chars(raw, raw + sizeof raw, value).ptr;
        const std::size_t length = std::size_t(end - raw);
        const std::size_t pad = length < 5 ? 5 - length : 0;
        std::fill_n(out, pad, '0');
        std::copy(static_cast<const char*>(raw), end, out + pad);
        return std::string_view(out, pad + length);
    };
    char textA[24];
    char textB[24];
    return digits(a, textA).compare(digits(b, textB)) < 0 ? -1 : 1;
}

// Bits of one town's rank in a route's signature; its first 64 / bits towns after the
// departure fit, the first in the highest bits.
int signatureBits(const TownOrder& towns)
{
    return std::max(1, int(std::bit_width(unsigned(std::max(towns.townCount() - 1, 1)))));
}

} // namespace

void RouteBatch::townsOf(int route, std::vector<std::int32_t>& towns) const
{
    // The route's node stands at leg position legs - 1: fill from there back to the start.
    towns.resize(std::size_t(m_legs) + 1);
    towns[std::size_t(m_legs)] = m_destination;
    std::size_t at = std::size_t(m_legs);
    for (std::int32_t node = std::int32_t(m_routes[std::size_t(route)].node); node >= 0 && at > 0;
         node = m_nodes[std::size_t(node)].parent)
        towns[--at] = m_nodes[std::size_t(node)].town;
}

QString RouteBatch::text(int route) const
{
    std::vector<std::int32_t> towns;
    townsOf(route, towns);
    const QString total = RouteString::formatTotal(microKm(route));
    qsizetype length = total.size();
    for (const std::int32_t town : towns)
        length += 1 + m_towns->name(town).size();
    QString text(length, Qt::Uninitialized);
    QChar* out = text.data();
    out = std::copy_n(total.constData(), total.size(), out);
    for (const std::int32_t town : towns) {
        *out++ = u'-';
        const QString& name = m_towns->name(town);
        out = std::copy_n(name.constData(), name.size(), out);
    }
    return text;
}

QStringList RouteBatch::texts() const
{
    QStringList all;
    all.reserve(size());
    for (int i = 0; i < size(); ++i)
        all << text(i);
    return all;
}

const std::vector<std::int32_t>& RouteBatch::TownsCache::townsOf(const RouteBatch& batch, int route,
                                                                 int keep)
{
    for (int s = 0; s < 2; ++s) {
        if (m_slots[s].batch == &batch && m_slots[s].route == route) {
            m_older = 1 - s;
            return m_slots[s].towns;
        }
    }
    const int slot = m_older == keep ? 1 - m_older : m_older;
    batch.townsOf(route, m_slots[slot].towns);
    m_slots[slot].batch = &batch;
    m_slots[slot].route = route;
    m_older = 1 - slot;
    return m_slots[slot].towns;
}

int RouteBatch::compare(const RouteBatch& a, int i, const RouteBatch& b, int j, TownsCache* cache)
{
    if (const int byTotal = compareTotals(wholeKm(a.microKm(i)), wholeKm(b.microKm(j))))
        return byTotal;
    if (&a == &b) {
        // Same tree and the same number of legs: the first town that differs lies just
        // below the point where the two branches meet.
        std::int32_t x = std::int32_t(a.m_routes[std::size_t(i)].node);
        std::int32_t y = std::int32_t(a.m_routes[std::size_t(j)].node);
        std::int32_t townX = -1;
        std::int32_t townY = -1;
        while (x != y) {
            const Node& nx = a.m_nodes[std::size_t(x)];
            const Node& ny = a.m_nodes[std::size_t(y)];
            if (nx.town != ny.town) {
                townX = nx.town;
                townY = ny.town;
            }
            x = nx.parent;
            y = ny.parent;
        }
        if (townX < 0)
            return 0;
        return a.m_towns->before(townX, townY) ? -1 : 1;
    }
    // The ranks of the towns after a common beginning decide most ties at once, when
    // neither route ends among them.
    if (!a.m_signature.empty() && !b.m_signature.empty()) {
        const int bits = signatureBits(*a.m_towns);
        const std::size_t common = std::min(a.m_prefix.size(), b.m_prefix.size());
        const auto differ =
            std::mismatch(a.m_prefix.begin(), a.m_prefix.begin() + common, b.m_prefix.begin());
        // Beginnings are never the destination, so their towns compare by rank.
        if (differ.first != a.m_prefix.begin() + std::ptrdiff_t(common))
            return a.m_towns->before(*differ.first, *differ.second) ? -1 : 1;
        const int reach = int(common) + 64 / bits;
        if (a.m_legs >= reach && b.m_legs >= reach) {
            const std::uint64_t x = a.signatureFrom(common, i, bits);
            const std::uint64_t y = b.signatureFrom(common, j, bits);
            if (x != y)
                return x < y ? -1 : 1;
        }
    }
    TownsCache local;
    TownsCache& recent = cache != nullptr ? *cache : local;
    const std::vector<std::int32_t>& townsA = recent.townsOf(a, i, -1);
    const int slotA = &townsA == &recent.m_slots[0].towns ? 0 : 1;
    const std::vector<std::int32_t>& townsB = recent.townsOf(b, j, slotA);
    const std::size_t common = std::min(townsA.size(), townsB.size());
    std::size_t k = 0;
    while (k < common && townsA[k] == townsB[k])
        ++k;
    if (k == common)
        return townsA.size() == townsB.size() ? 0 : townsA.size() < townsB.size() ? -1 : 1;
    const bool lastA = k + 1 == townsA.size();
    const bool lastB = k + 1 == townsB.size();
    if (!lastA && !lastB)
        return a.m_towns->before(townsA[k], townsB[k]) ? -1 : 1;
    // The destination ends its text, every other town is followed by "-".
    const auto piece = [](const TownOrder& order, std::int32_t town, bool last) {
        const QString& name = order.name(town);
        return last ? name : name + u'-';
    };
    const QString textA = piece(*a.m_towns, townsA[k], lastA);
    const QString textB = piece(*b.m_towns, townsB[k], lastB);
    const std::u16string_view viewA(reinterpret_cast<const char16_t*>(textA.utf16()),
                                    std::size_t(textA.size()));
    const std::u16string_view viewB(reinterpret_cast<const char16_t*>(textB.utf16()),
                                    std::size_t(textB.size()));
    return viewA < viewB ? -1 : viewB < viewA ? 1 : 0;
}

std::uint64_t RouteBatch::signatureFrom(std::size_t start, int route, int bits) const
{
    // The route's signature starts after the whole beginning; the towns of the beginning
    // from `start` on go in front of it, and what falls below the last whole town is cut.
    const std::size_t extra = m_prefix.size() - start;
    if (extra == 0)
        return m_signature[std::size_t(route)];
    const std::size_t places = std::size_t(64 / bits);
    const std::size_t used = places * std::size_t(bits);
    std::uint64_t front = 0;
    for (std::size_t k = start; k < m_prefix.size() && k < start + places; ++k)
        front = (front << bits) | std::uint64_t(m_towns->rank(m_prefix[k]));
    if (extra >= places)
        return front << (64 - used);
    const std::size_t shift = extra * std::size_t(bits);
    const std::uint64_t whole = used == 64 ? ~std::uint64_t(0) : ~(~std::uint64_t(0) >> used);
    return ((front << (64 - shift)) | (m_signature[std::size_t(route)] >> shift)) & whole;
}

bool RouteBatch::sortTextOrder(const std::atomic<bool>* stop)
{
    // Until the sort has ended the batch has no text order, and a stop leaves it so.
    const auto unsorted = [this] {
        m_textOrder.clear();
        m_prefix.clear();
        m_signature.clear();
        return false;
    };
    unsorted();
    StopCheck check(stop);
    if (m_routes.empty())
        return true;
    // A walk adds each node right after the nodes below its earlier siblings, so the nodes
    // below a node follow it directly: its children are found by skipping whole subtrees.
    const std::size_t n = m_nodes.size();
    std::vector<std::uint32_t> below(n, 1);
    for (std::size_t v = n; v-- > 1;) {
        const std::int32_t parent = m_nodes[v].parent;
        if (parent >= 0)
            below[std::size_t(parent)] += below[v];
    }
    const auto byRank = [this](std::uint32_t a, std::uint32_t b) {
        return m_towns->before(m_nodes[a].town, m_nodes[b].town);
    };
    // Children of v in TownOrder; v == n stands for the roots.
    const auto children = [&](std::size_t v, std::vector<std::uint32_t>& out) {
        out.clear();
        const std::size_t from = v == n ? 0 : v + 1;
        const std::size_t to = v == n ? n : v + below[v];
        for (std::size_t c = from; c < to; c += below[c])
            out.push_back(std::uint32_t(c));
        std::stable_sort(out.begin(), out.end(), byRank);
    };
    // The towns every route of the batch begins with (one node each, as parallel roads make
    // their own nodes only where they branch).
    std::vector<std::uint32_t> kids;
    children(n, kids);
    while (kids.size() == 1) {
        m_prefix.push_back(m_nodes[kids.front()].town);
        children(kids.front(), kids);
    }
    // Routes come in the order of their nodes; the walk numbers them as it meets them and
    // gives each the ranks of its towns after the beginning packed into one number.
    std::vector<std::uint32_t> pathOrder(m_routes.size());
    m_signature.assign(m_routes.size(), 0);
    const int bits = signatureBits(*m_towns);
    std::vector<std::uint64_t> signature;
    std::uint32_t counter = 0;
    std::vector<std::vector<std::uint32_t>> levels(1);
    std::vector<std::size_t> at{0};
    children(n, levels[0]);
    while (!at.empty()) {
        if (check.poll())
            return unsorted();
        const std::size_t depth = at.size() - 1;
        if (at[depth] == levels[depth].size()) {
            at.pop_back();
            continue;
        }
        const std::uint32_t node = levels[depth][at[depth]++];
        signature.resize(depth + 1);
        const int shift = 64 - (int(depth) - int(m_prefix.size()) + 1) * bits;
        signature[depth] = (depth == 0 ? 0 : signature[depth - 1]) |
                           (depth >= m_prefix.size() && shift >= 0
                                ? std::uint64_t(m_towns->rank(m_nodes[node].town)) << shift
                                : 0);
        if (below[node] > 1) {
            if (levels.size() < depth + 2)
                levels.emplace_back();
            children(node, levels[depth + 1]);
            at.push_back(0);
            continue;
        }
        const auto byNode = [](const Route& r, std::uint32_t v) { return r.node < v; };
        for (auto r = std::lower_bound(m_routes.begin(), m_routes.end(), node, byNode);
             r != m_routes.end() && r->node == node; ++r) {
            pathOrder[std::size_t(r - m_routes.begin())] = counter;
            m_signature[std::size_t(r - m_routes.begin())] = signature[depth];
        }
        ++counter;
    }
    m_textOrder.resize(m_routes.size());
    std::iota(m_textOrder.begin(), m_textOrder.end(), 0U);
    const auto byText = [&](std::uint32_t x, std::uint32_t y) {
        const int byTotal =
            compareTotals(wholeKm(m_routes[x].microKm), wholeKm(m_routes[y].microKm));
        return byTotal != 0 ? byTotal < 0 : pathOrder[x] < pathOrder[y];
    };
    return stoppableStableSort(m_textOrder, byText, check) || unsorted();
}

void RouteBatch::keepFirst(int count, std::vector<std::int32_t>& liveNodes)
{
    if (count >= size())
        return;
    sortTextOrder();
    std::vector<std::uint32_t> kept(m_textOrder.begin(), m_textOrder.begin() + count);
    // Found order is node order, which the text order's walk of the tree relies on.
    std::sort(kept.begin(), kept.end());
    m_textOrder = {};
    m_prefix = {};
    m_signature = {};
    // The nodes still needed: those of the kept routes and the live ones, with their
    // ancestors. Leaving out the others keeps the rest in walking order, each node's
    // subtree right after it.
    const std::size_t n = m_nodes.size();
    std::vector<std::int32_t> renumber(n, -1);
    const auto keep = [&](std::int32_t node) {
        for (; node >= 0 && renumber[std::size_t(node)] < 0;
             node = m_nodes[std::size_t(node)].parent)
            renumber[std::size_t(node)] = 0;
    };
    for (const std::uint32_t route : kept)
        keep(std::int32_t(m_routes[route].node));
    for (const std::int32_t node : liveNodes)
        keep(node);
    ChunkedVector<Node> nodes;
    for (std::size_t v = 0; v < n; ++v) {
        if (renumber[v] < 0)
            continue;
        const std::int32_t parent = m_nodes[v].parent;
        renumber[v] = std::int32_t(nodes.size());
        nodes.push_back({parent < 0 ? -1 : renumber[std::size_t(parent)], m_nodes[v].town});
    }
    m_nodes = std::move(nodes);
    std::vector<Route> routes;
    routes.reserve(kept.size());
    for (const std::uint32_t route : kept)
        routes.push_back({m_routes[route].microKm, std::uint32_t(renumber[m_routes[route].node])});
    m_routes = std::move(routes);
    for (std::int32_t& node : liveNodes)
        node = node < 0 ? node : renumber[std::size_t(node)];
}

std::size_t RouteBatch::memoryBytes() const
{
    return m_nodes.capacity() * sizeof(Node) + m_routes.capacity() * sizeof(Route) +
           m_textOrder.capacity() * sizeof(std::uint32_t) +
           m_signature.capacity() * sizeof(std::uint64_t);
}

} // namespace moravelt
