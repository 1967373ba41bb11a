#include "navi/routebatch.h"

#include "navi/routestring.h"

#include <algorithm>
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

} // namespace

void RouteBatch::append(const RouteBatch& other)
{
    const auto offset = std::int32_t(m_nodes.size());
    m_nodes.reserve(m_nodes.size() + other.m_nodes.size());
    for (const Node& node : other.m_nodes)
        m_nodes.push_back({node.parent >= 0 ? node.parent + offset : ~node.parent, node.town});
    m_routes.reserve(m_routes.size() + other.m_routes.size());
    for (const Route& route : other.m_routes)
        m_routes.push_back({route.microKm, route.node + std::uint32_t(offset)});
}

void RouteBatch::townsOf(int route, std::vector<std::int32_t>& towns) const
{
    towns.clear();
    for (std::int32_t node = std::int32_t(m_routes[std::size_t(route)].node); node >= 0;
         node = m_nodes[std::size_t(node)].parent)
        towns.push_back(m_nodes[std::size_t(node)].town);
    std::reverse(towns.begin(), towns.end());
    towns.push_back(m_destination);
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

int RouteBatch::compare(const RouteBatch& a, int i, const RouteBatch& b, int j)
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
    thread_local std::vector<std::int32_t> townsA;
    thread_local std::vector<std::int32_t> townsB;
    a.townsOf(i, townsA);
    b.townsOf(j, townsB);
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

void RouteBatch::sortTextOrder()
{
    m_textOrder.resize(m_routes.size());
    std::iota(m_textOrder.begin(), m_textOrder.end(), 0U);
    std::stable_sort(m_textOrder.begin(), m_textOrder.end(),
                     [this](std::uint32_t x, std::uint32_t y) {
                         return compare(*this, int(x), *this, int(y)) < 0;
                     });
}

std::size_t RouteBatch::memoryBytes() const
{
    return m_nodes.capacity() * sizeof(Node) + m_routes.capacity() * sizeof(Route) +
           m_textOrder.capacity() * sizeof(std::uint32_t);
}

} // namespace moravelt
