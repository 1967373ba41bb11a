#include "navi/roadgraph.h"

#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"

#include <cmath>

namespace moravelt {

namespace {

// A road longer than this is a data fault; the bound also keeps every sum inside 64 bits.
constexpr double kLongestRoadKm = 1e6;

bool readDistance(const QVariant& value, std::int64_t& microKm)
{
    if (value.isNull())
        return false;
    bool ok = false;
    const double km = value.toDouble(&ok);
    if (!ok || !std::isfinite(km) || km < 0.0 || km > kLongestRoadKm)
        return false;
    microKm = std::llround(km * double(RoadGraph::kMicroPerKm));
    return true;
}

} // namespace

RoadGraph RoadGraph::load(const MapDatabase& cn)
{
    return fromRecordset(*cn.open(QueryTexts::allRoads()));
}

RoadGraph RoadGraph::fromRecordset(const Recordset& roads)
{
    RoadGraph graph;
    const int fromColumn = roads.columnIndex(QStringLiteral("出発地"));
    const int toColumn = roads.columnIndex(QStringLiteral("目的地"));
    const int kmColumn = roads.columnIndex(QStringLiteral("km"));
    const auto idOf = [&graph](const QString& name) {
        const auto found = graph.m_ids.constFind(name);
        if (found != graph.m_ids.constEnd())
            return found.value();
        const int id = int(graph.m_names.size());
        graph.m_ids.insert(name, id);
        graph.m_names.append(name);
        return id;
    };

    struct Row
    {
        std::int32_t from;
        Road road;
    };
    std::vector<Row> rows;
    rows.reserve(std::size_t(roads.rowCount()));
    for (int i = 0; i < roads.rowCount(); ++i) {
        const QVariantList& row = roads.row(i);
        const QString from = row.value(fromColumn).toString();
        const QString to = row.value(toColumn).toString();
        std::int64_t microKm = 0;
        if (from.isEmpty() || to.isEmpty() || !readDistance(row.value(kmColumn), microKm)) {
            ++graph.m_skipped;
            continue;
        }
        const int fromId = idOf(from);
        rows.push_back({fromId, {idOf(to), microKm}});
    }

    // Counting sort by departure keeps each town's rows in their table order.
    graph.m_first.assign(graph.m_names.size() + 1, 0);
    for (const Row& row : rows)
        ++graph.m_first[std::size_t(row.from) + 1];
    for (std::size_t t = 1; t < graph.m_first.size(); ++t)
        graph.m_first[t] += graph.m_first[t - 1];
    std::vector<std::int32_t> next(graph.m_first.begin(), graph.m_first.end() - 1);
    graph.m_roads.resize(rows.size());
    for (const Row& row : rows)
        graph.m_roads[std::size_t(next[std::size_t(row.from)]++)] = row.road;
    return graph;
}

std::size_t RoadGraph::memoryBytes() const
{
    std::size_t bytes =
        m_roads.capacity() * sizeof(Road) + m_first.capacity() * sizeof(std::int32_t);
    for (const QString& name : m_names)
        bytes += sizeof(QString) + std::size_t(name.capacity() + 1) * sizeof(QChar);
    bytes += std::size_t(m_ids.capacity()) * (sizeof(QString) + sizeof(int) + 8);
    return bytes;
}

} // namespace moravelt
