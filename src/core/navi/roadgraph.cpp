// SPDX-License-Identifier: MIT

#include "navi/roadgraph.h"

#include "base/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "mapdb/recordset.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <limits>

namespace moravelt {

namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

// A distance in millionths of a kilometre; false for what cannot be one.
bool readDistance(const QVariant& value, std::int64_t& microKm)
{
    if (value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt: {
        // Whole numbers exactly, without a detour through binary fractions.
        bool ok = false;
        const qlonglong km = value.toLongLong(&ok);
        if (!ok || km < 0 || km > kLargest / RoadGraph::kMicroPerKm)
            return false;
        microKm = km * RoadGraph::kMicroPerKm;
        return true;
    }
    default:
        break;
    }
    bool ok = false;
    const double km = value.toDouble(&ok);
    if (!ok || !std::isfinite(km) || km < 0.0)
        return false;
    const double micro = km * double(RoadGraph::kMicroPerKm);
    // 2^63 is exact as a double; anything from it on does not fit.
    if (!(micro < 9223372036854775808.0))
        return false;
    microKm = std::llround(micro);
    return true;
}

QString queryFailure(const QSqlError& error)
{
    return QStringLiteral("地図データベースの問い合わせに失敗しました: %1").arg(error.text());
}

} // namespace

RoadGraph RoadGraph::load(const MapDatabase& cn, const std::atomic<bool>* cancel,
                          std::int64_t maxRows)
{
    static std::atomic<int> connections{0};
    // Removed after the connection and its query are gone, however this ends.
    struct Name
    {
        QString text = QStringLiteral("moravelt-roads-%1").arg(connections.fetch_add(1));
        ~Name() { QSqlDatabase::removeDatabase(text); }
    } name;
    QSqlDatabase db = QSqlDatabase::cloneDatabase(cn.connectionName(), name.text);
    if (!db.open())
        throw MoraveltError(queryFailure(db.lastError()));
    RoadGraph graph;
    std::vector<Row> rows;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QueryTexts::allRoads().text))
            throw MoraveltError(queryFailure(query.lastError()));
        std::int64_t read = 0;
        while (query.next()) {
            if (++read > maxRows)
                throw MoraveltError(
                    QStringLiteral(
                        "道路の表「tbl_距離」が %1 行を超えるため、読み込みを止めました。")
                        .arg(maxRows));
            if (cancel != nullptr && read % 4096 == 0 && cancel->load(std::memory_order_relaxed))
                break;
            graph.addRow(query.value(0), query.value(1), query.value(2), rows);
        }
        if (query.lastError().isValid())
            throw MoraveltError(queryFailure(query.lastError()));
    }
    db.close();
    graph.index(rows);
    return graph;
}

RoadGraph RoadGraph::fromRecordset(const Recordset& roads)
{
    const int from = roads.columnIndex(QStringLiteral("出発地"));
    const int to = roads.columnIndex(QStringLiteral("目的地"));
    const int km = roads.columnIndex(QStringLiteral("km"));
    RoadGraph graph;
    std::vector<Row> rows;
    for (int i = 0; i < roads.rowCount(); ++i) {
        const QVariantList& row = roads.row(i);
        graph.addRow(row.value(from), row.value(to), row.value(km), rows);
    }
    graph.index(rows);
    return graph;
}

void RoadGraph::addRow(const QVariant& fromValue, const QVariant& toValue, const QVariant& km,
                       std::vector<Row>& rows)
{
    const QString from = fromValue.toString();
    const QString to = toValue.toString();
    std::int64_t microKm = 0;
    if (from.isEmpty() || to.isEmpty() || !readDistance(km, microKm)) {
        ++m_skipped;
        return;
    }
    const auto idOf = [this](const QString& name) {
        const auto found = m_ids.constFind(name);
        if (found != m_ids.constEnd())
            return found.value();
        const int id = int(m_names.size());
        m_ids.insert(name, id);
        m_names.append(name);
        return id;
    };
    const int fromId = idOf(from);
    rows.push_back({fromId, {idOf(to), microKm}});
}

void RoadGraph::index(const std::vector<Row>& rows)
{
    // A route uses each row at most once, so while all rows add up within 64 bits every
    // route's total is exact.
    std::int64_t sum = 0;
    for (const Row& row : rows) {
        if (row.road.microKm > kLargest - sum)
            throw MoraveltError(QStringLiteral(
                "道路の表「tbl_距離」の距離が大きすぎて、ルートの合計を正しく計算できません。"));
        sum += row.road.microKm;
    }
    // Counting sort by departure keeps each town's rows in their table order.
    m_first.assign(m_names.size() + 1, 0);
    for (const Row& row : rows)
        ++m_first[std::size_t(row.from) + 1];
    for (std::size_t t = 1; t < m_first.size(); ++t)
        m_first[t] += m_first[t - 1];
    std::vector<std::int32_t> next(m_first.begin(), m_first.end() - 1);
    m_roads.resize(rows.size());
    for (const Row& row : rows)
        m_roads[std::size_t(next[std::size_t(row.from)]++)] = row.road;
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
