// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace moravelt {

class MapDatabase;
class Recordset;

// The roads of "tbl_距離" held in memory with integer town ids, read with one query. Each
// town's roads keep the rows' order, which is the order the per-town query returns them in.
// Distances are kept in millionths of a kilometre, so sums of decimal data stay exact.
class RoadGraph
{
public:
    struct Road
    {
        std::int32_t to;
        std::int64_t microKm;
    };

    // Why a row was left out.
    enum class Fault
    {
        NoTown,    // an empty town name
        Null,      // no distance
        NotNumber, // text that is no number, or a value of another kind
        Date,      // a date or a time
        NotFinite, // NaN or infinite
        Negative,
        TooLong, // more than a route string's five digits show
    };
    struct DroppedRow
    {
        QString from;
        QString to;
        QVariant km;
        Fault fault;
    };

    static constexpr std::int64_t kMicroPerKm = 1'000'000;
    // The longest road: what a route string's five digits show.
    static constexpr std::int64_t kMaxKm = 99'999;
    // Far above any real map; a table (or a view) beyond it is not read to its end.
    static constexpr std::int64_t kMaxRows = 10'000'000;
    // How many dropped rows are kept to be named; the rest are only counted.
    static constexpr std::size_t kNamedRows = 5;

    // Reads the whole table through a connection of its own, so from any thread; throws
    // MoraveltError on a failed query or beyond `maxRows` rows. A row that cannot be a road
    // is left out and the others still read. A set `cancel` stops the reading early (the
    // graph is then incomplete).
    static RoadGraph load(const MapDatabase& cn, const std::atomic<bool>* cancel = nullptr,
                          std::int64_t maxRows = kMaxRows);
    // Builds from a result with the columns "出発地", "目的地" and "km", in its row order;
    // throws MoraveltError beyond kMaxRows rows.
    static RoadGraph fromRecordset(const Recordset& roads);
    // Why a distance cannot be a road's, or nothing when it can; `microKm` gets it then.
    static std::optional<Fault> readDistance(const QVariant& km, std::int64_t& microKm);

    // -1 for a name that is on no usable road.
    int townId(const QString& name) const { return m_ids.value(name, -1); }
    const QString& townName(int id) const { return m_names.at(id); }
    const QStringList& townNames() const { return m_names; }
    int townCount() const { return int(m_names.size()); }
    std::span<const Road> roadsFrom(int town) const
    {
        return {m_roads.data() + m_first[town], m_roads.data() + m_first[town + 1]};
    }
    int roadCount() const { return int(m_roads.size()); }
    // Rows left out: an empty town name, or a distance that is null, not a number, a date,
    // not finite, negative or longer than kMaxKm. The first kNamedRows of them are kept.
    int skippedRows() const { return m_skipped; }
    const std::vector<DroppedRow>& droppedRows() const { return m_dropped; }
    // For the player: how many rows were left out, the first few named with their towns;
    // empty when none was.
    QString droppedRowsMessage() const;
    std::size_t memoryBytes() const;

private:
    struct Row
    {
        std::int32_t from;
        Road road;
    };

    void addRow(const QVariant& from, const QVariant& to, const QVariant& km,
                std::vector<Row>& rows);
    void index(const std::vector<Row>& rows);

    void drop(const QVariant& from, const QVariant& to, const QVariant& km, Fault fault);

    QHash<QString, int> m_ids;
    QStringList m_names;
    std::vector<std::int32_t> m_first; // roads of town t: [m_first[t], m_first[t + 1])
    std::vector<Road> m_roads;
    int m_skipped = 0;
    std::vector<DroppedRow> m_dropped;
};

} // namespace moravelt
