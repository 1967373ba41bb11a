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

QString queryFailure(const QSqlError& error)
{
    return QStringLiteral("地図データベースの問い合わせに失敗しました: %1").arg(error.text());
}

QString faultText(RoadGraph::Fault fault)
{
    switch (fault) {
    case RoadGraph::Fault::NoTown:
        return QStringLiteral("町名が空");
    case RoadGraph::Fault::Null:
        return QStringLiteral("距離が空");
    case RoadGraph::Fault::NotNumber:
        return QStringLiteral("距離が数でない");
    case RoadGraph::Fault::Date:
        return QStringLiteral("距離が日付");
    case RoadGraph::Fault::NotFinite:
        return QStringLiteral("距離が有限の数でない");
    case RoadGraph::Fault::Negative:
        return QStringLiteral("距離が負");
    case RoadGraph::Fault::TooLong:
        return QStringLiteral("距離が %1 km を超える").arg(RoadGraph::kMaxKm);
    }
    return {};
}

QString tooManyRows(std::int64_t maxRows)
{
    return QStringLiteral("道路の表「tbl_距離」が %1 行を超えるため、読み込みを止めました。")
        .arg(maxRows);
}

} // namespace

std::optional<RoadGraph::Fault> RoadGraph::readDistance(const QVariant& value,
                                                        std::int64_t& microKm)
{
    if (value.isNull())
        return Fault::Null;
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long: {
        // Whole numbers exactly, without a detour through binary fractions.
        const qlonglong km = value.toLongLong();
        if (km < 0)
            return Fault::Negative;
        if (km > kMaxKm)
            return Fault::TooLong;
        microKm = km * kMicroPerKm;
        return std::nullopt;
    }
    case QMetaType::ULongLong:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong: {
        const qulonglong km = value.toULongLong();
        if (km > qulonglong(kMaxKm))
            return Fault::TooLong;
        microKm = qlonglong(km) * kMicroPerKm;
        return std::nullopt;
    }
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QString:
        break;
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return Fault::Date;
    default:
        // A truth value, bytes or anything else is no distance, whatever it converts to.
        return Fault::NotNumber;
    }
    bool ok = false;
    const double km = value.toDouble(&ok);
    if (!ok)
        return Fault::NotNumber;
    if (!std::isfinite(km))
        return Fault::NotFinite;
    if (km < 0.0)
        return Fault::Negative;
    if (km > double(kMaxKm))
        return Fault::TooLong;
    microKm = std::llround(km * double(kMicroPerKm));
    return std::nullopt;
}

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
                throw MoraveltError(tooManyRows(maxRows));
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
    if (roads.rowCount() > kMaxRows)
        throw MoraveltError(tooManyRows(kMaxRows));
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
    if (from.isEmpty() || to.isEmpty()) {
        drop(fromValue, toValue, km, Fault::NoTown);
        return;
    }
    if (const std::optional<Fault> fault = readDistance(km, microKm)) {
        drop(fromValue, toValue, km, *fault);
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

void RoadGraph::drop(const QVariant& from, const QVariant& to, const QVariant& km, Fault fault)
{
    ++m_skipped;
    if (m_dropped.size() < kNamedRows)
        m_dropped.push_back({from.toString(), to.toString(), km, fault});
}

QString RoadGraph::droppedRowsMessage() const
{
    if (m_skipped == 0)
        return {};
    QString text = QStringLiteral("道路の表「tbl_距離」の %1 行は道路として使えないため、除いて"
                                  "検索します。")
                       .arg(m_skipped);
    for (const DroppedRow& row : m_dropped) {
        const QString km = row.km.isNull() || row.fault == Fault::NoTown
                               ? QString()
                               : QStringLiteral(": %1 km").arg(row.km.toString());
        text += QStringLiteral("\r\n「%1」→「%2」%3（%4）")
                    .arg(row.from, row.to, km, faultText(row.fault));
    }
    if (std::size_t(m_skipped) > m_dropped.size())
        text += QStringLiteral("\r\nほか %1 行").arg(m_skipped - int(m_dropped.size()));
    return text;
}

void RoadGraph::index(const std::vector<Row>& rows)
{
    // Totals stay exact: a route uses each row at most once, and kMaxRows rows of at most
    // kMaxKm km come to under 10^18 millionths of a kilometre, below 2^63.
    static_assert(kMaxRows * kMaxKm * kMicroPerKm < std::numeric_limits<std::int64_t>::max());
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
