// SPDX-License-Identifier: MIT

#include "navilist/routelistmodel.h"

#include "base/moravelterror.h"
#include "navi/routebatch.h"
#include "navi/stopcheck.h"

#include <algorithm>
#include <unordered_set>

namespace moravelt {

namespace {

std::u16string_view viewOf(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

} // namespace

RouteListModel::RouteListModel(QObject* parent) : QAbstractListModel(parent) {}

RouteListModel::~RouteListModel() = default;

std::u16string_view RouteListModel::view(const Source& source, std::uint32_t index) const
{
    const std::uint32_t begin = index == 0 ? 0 : source.ends[index - 1];
    return {source.chars.data() + begin, source.ends[index] - begin};
}

bool RouteListModel::less(const Item& a, const Item& b) const
{
    const Source& sa = m_sources[a.source];
    const Source& sb = m_sources[b.source];
    if (sa.routes && sb.routes)
        return RouteBatch::compare(*sa.routes, int(a.index), *sb.routes, int(b.index), &m_recent) <
               0;
    if (!sa.routes && !sb.routes)
        return view(sa, a.index) < view(sb, b.index);
    // Texts and a search's routes in one list: rare, so the route's text is made here.
    if (sa.routes)
        return viewOf(sa.routes->text(int(a.index))) < view(sb, b.index);
    return view(sa, a.index) < viewOf(sb.routes->text(int(b.index)));
}

void RouteListModel::addRoutes(const QStringList& routes)
{
    if (routes.isEmpty())
        return;
    Source source;
    std::size_t chars = 0;
    for (const QString& route : routes)
        chars += std::size_t(route.size());
    source.chars.reserve(chars);
    source.ends.reserve(std::size_t(routes.size()));
    for (const QString& route : routes) {
        const std::u16string_view text = viewOf(route);
        source.chars.insert(source.chars.end(), text.begin(), text.end());
        source.ends.push_back(std::uint32_t(source.chars.size()));
    }
    const auto id = std::uint32_t(m_sources.size());
    m_sources.push_back(std::move(source));
    std::vector<Item> batch(std::size_t(routes.size()));
    for (std::size_t i = 0; i < batch.size(); ++i)
        batch[i] = {id, std::uint32_t(i)};
    std::stable_sort(batch.begin(), batch.end(),
                     [this](const Item& a, const Item& b) { return less(a, b); });
    insertSorted(batch);
}

void RouteListModel::addRoutes(std::shared_ptr<const RouteBatch> routes)
{
    if (!routes || routes->isEmpty())
        return;
    const auto id = std::uint32_t(m_sources.size());
    std::vector<Item> batch(std::size_t(routes->size()));
    if (routes->textOrder().size() == batch.size()) {
        for (std::size_t i = 0; i < batch.size(); ++i)
            batch[i] = {id, routes->textOrder()[i]};
        m_sources.push_back({std::move(routes), {}, {}});
    } else {
        for (std::size_t i = 0; i < batch.size(); ++i)
            batch[i] = {id, std::uint32_t(i)};
        m_sources.push_back({std::move(routes), {}, {}});
        std::stable_sort(batch.begin(), batch.end(),
                         [this](const Item& a, const Item& b) { return less(a, b); });
    }
    insertSorted(batch);
}

RouteListModel::Merge RouteListModel::startMerge() const
{
    Merge merge;
    merge.m_generation = m_generation;
    merge.m_usable = std::all_of(m_sources.begin(), m_sources.end(),
                                 [](const Source& source) { return source.routes != nullptr; });
    if (merge.m_usable) {
        for (const Source& source : m_sources)
            merge.m_batches.push_back(source.routes);
        merge.m_items = m_items;
    }
    return merge;
}

bool RouteListModel::Merge::prepare(std::shared_ptr<const RouteBatch> routes,
                                    const std::atomic<bool>* stop, std::int64_t keep)
{
    m_routes = std::move(routes);
    m_keep = std::max<std::int64_t>(keep, 0);
    if (!m_usable || !m_routes || m_routes->isEmpty()) {
        m_items.clear();
        return true;
    }
    const auto id = std::uint32_t(m_batches.size());
    m_batches.push_back(m_routes);
    RouteBatch::TownsCache recent;
    const auto less = [&](const Item& a, const Item& b) {
        return RouteBatch::compare(*m_batches[a.source], int(a.index), *m_batches[b.source],
                                   int(b.index), &recent) < 0;
    };
    StopCheck check(stop);
    const auto stopped = [this] {
        m_routes.reset();
        m_items.clear();
        return false;
    };
    std::vector<Item> batch(std::size_t(m_routes->size()));
    const bool sorted = m_routes->textOrder().size() == batch.size();
    for (std::size_t i = 0; i < batch.size(); ++i)
        batch[i] = {id, sorted ? m_routes->textOrder()[i] : std::uint32_t(i)};
    if (!sorted && !stoppableStableSort(batch, less, check))
        return stopped();
    std::vector<Item> merged(m_items.size() + batch.size());
    if (!stoppableMerge(m_items.data(), m_items.data() + m_items.size(), batch.data(),
                        batch.data() + batch.size(), merged.data(), less, check))
        return stopped();
    if (std::int64_t(merged.size()) > m_keep) {
        merged.resize(std::size_t(m_keep));
        // A batch none of whose routes is kept any more goes with the merge.
        std::vector<bool> shown(m_batches.size(), false);
        for (const Item& item : merged)
            shown[item.source] = true;
        static const auto none = std::make_shared<const RouteBatch>();
        for (std::size_t b = 0; b < m_batches.size(); ++b) {
            if (!shown[b])
                m_batches[b] = none;
        }
    }
    m_items = std::move(merged);
    return true;
}

void RouteListModel::addRoutes(Merge&& merge)
{
    if (!merge.m_routes || merge.m_routes->isEmpty())
        return;
    if (!merge.m_usable || merge.m_generation != m_generation) {
        addRoutes(std::move(merge.m_routes));
        keepFirst(std::size_t(std::min<std::int64_t>(merge.m_keep, count())));
        return;
    }
    ++m_generation;
    m_sources.push_back({std::move(merge.m_routes), {}, {}});
    const std::size_t oldCount = m_items.size();
    // A full list gains fewer rows than the batch brings, or none.
    const std::size_t added = merge.m_items.size() > oldCount ? merge.m_items.size() - oldCount : 0;
    m_items.reserve(oldCount + added); // a failure to allocate comes before the views hear of it
    const auto id = std::uint32_t(m_sources.size() - 1);
    if (added > 0) {
        beginInsertRows({}, int(oldCount), int(oldCount + added - 1));
        // The new rows go in at the end first, as views expect of an insert; then the merged
        // order replaces it, which keeps the selection on its route.
        for (const Item& item : merge.m_items) {
            if (item.source == id && m_items.size() < oldCount + added)
                m_items.push_back(item);
        }
        endInsertRows();
    }
    // A list that keeps fewer rows than it shows (its bound came down) moves the routes it
    // drops to its end, and removes them there.
    const std::size_t keptCount = merge.m_items.size();
    std::vector<Item> order = std::move(merge.m_items);
    if (keptCount < m_items.size()) {
        const auto key = [](const Item& item) {
            return std::uint64_t(item.source) << 32 | item.index;
        };
        std::unordered_set<std::uint64_t> kept;
        for (const Item& item : order)
            kept.insert(key(item));
        for (const Item& item : m_items) {
            if (!kept.contains(key(item)))
                order.push_back(item);
        }
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    for (const QModelIndex& index : from) {
        const Item item = m_items[std::size_t(index.row())];
        const auto at = std::find_if(order.begin(), order.end(), [&](const Item& x) {
            return x.source == item.source && x.index == item.index;
        });
        // A route pushed out of a full list takes its selection with it.
        to.append(at == order.end() ? QModelIndex()
                                    : this->index(int(at - order.begin()), index.column()));
    }
    m_items = std::move(order);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    keepFirst(keptCount);
    // Batches none of whose routes is shown any more are let go.
    for (std::size_t b = 0; b < merge.m_batches.size(); ++b)
        m_sources[b].routes = std::move(merge.m_batches[b]);
}

void RouteListModel::keepFirst(std::size_t count)
{
    if (m_items.size() <= count)
        return;
    beginRemoveRows({}, int(count), int(m_items.size() - 1));
    m_items.resize(count);
    endRemoveRows();
}

void RouteListModel::insertSorted(const std::vector<Item>& batch)
{
    ++m_generation;
    const std::size_t sortedCount = m_items.size();
    beginInsertRows({}, int(sortedCount), int(sortedCount + batch.size() - 1));
    m_items.insert(m_items.end(), batch.begin(), batch.end());
    endInsertRows();
    if (sortedCount > 0)
        mergeTail(sortedCount);
}

void RouteListModel::mergeTail(std::size_t sortedCount)
{
    // The batch went in at the end so that views saw a consistent insert; merging it into
    // place is a reordering, which keeps the view's selection and current row.
    const auto lessItem = [this](const Item& a, const Item& b) { return less(a, b); };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    const auto head = m_items.begin();
    const auto middle = head + std::ptrdiff_t(sortedCount);
    for (const QModelIndex& index : from) {
        const std::ptrdiff_t row = index.row();
        std::ptrdiff_t moved;
        if (row < std::ptrdiff_t(sortedCount))
            moved = row + (std::lower_bound(middle, m_items.end(), head[row], lessItem) - middle);
        else
            moved = (row - std::ptrdiff_t(sortedCount)) +
                    (std::upper_bound(head, middle, head[row], lessItem) - head);
        to.append(this->index(int(moved), index.column()));
    }
    std::inplace_merge(head, middle, m_items.end(), lessItem);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RouteListModel::clear()
{
    beginResetModel();
    m_items.clear();
    m_items.shrink_to_fit();
    m_sources.clear();
    m_recent.reset();
    ++m_generation;
    endResetModel();
}

QString RouteListModel::text(int row) const
{
    if (row < 0 || row >= count())
        throw MoraveltError(QStringLiteral("ルート一覧に %1 行目はありません").arg(row));
    const Item& item = m_items[std::size_t(row)];
    const Source& source = m_sources[item.source];
    if (source.routes)
        return source.routes->text(int(item.index));
    const std::u16string_view chars = view(source, item.index);
    return QString(reinterpret_cast<const QChar*>(chars.data()), qsizetype(chars.size()));
}

std::size_t RouteListModel::memoryBytes() const
{
    std::size_t bytes = m_items.capacity() * sizeof(Item);
    for (const Source& source : m_sources) {
        bytes += source.chars.capacity() * sizeof(char16_t) +
                 source.ends.capacity() * sizeof(std::uint32_t);
        if (source.routes)
            bytes += source.routes->memoryBytes();
    }
    return bytes;
}

int RouteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant RouteListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return text(index.row());
}

} // namespace moravelt
