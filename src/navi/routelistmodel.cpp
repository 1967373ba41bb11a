#include "navi/routelistmodel.h"

#include "app/moravelterror.h"

#include <algorithm>

namespace moravelt {

namespace {

constexpr std::size_t kBlockChars = std::size_t(1) << 20;

} // namespace

RouteListModel::Item RouteListModel::store(const QString& text)
{
    const std::size_t length = std::size_t(text.size());
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < length) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(std::max(kBlockChars, length));
    }
    std::vector<char16_t>& block = m_blocks.back();
    const Item item{std::uint32_t(m_blocks.size() - 1), std::uint32_t(block.size()),
                    std::uint32_t(length)};
    const char16_t* chars = reinterpret_cast<const char16_t*>(text.utf16());
    block.insert(block.end(), chars, chars + length);
    return item;
}

void RouteListModel::addRoutes(const QStringList& routes)
{
    if (routes.isEmpty())
        return;
    const auto less = [this](const Item& a, const Item& b) { return view(a) < view(b); };
    std::vector<Item> batch;
    batch.reserve(std::size_t(routes.size()));
    for (const QString& route : routes)
        batch.push_back(store(route));
    std::stable_sort(batch.begin(), batch.end(), less);

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
    const auto less = [this](const Item& a, const Item& b) { return view(a) < view(b); };
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
            moved = row + (std::lower_bound(middle, m_items.end(), head[row], less) - middle);
        else
            moved = (row - std::ptrdiff_t(sortedCount)) +
                    (std::upper_bound(head, middle, head[row], less) - head);
        to.append(this->index(int(moved), index.column()));
    }
    std::inplace_merge(head, middle, m_items.end(), less);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RouteListModel::clear()
{
    beginResetModel();
    m_items.clear();
    m_items.shrink_to_fit();
    m_blocks.clear();
    endResetModel();
}

QString RouteListModel::text(int row) const
{
    if (row < 0 || row >= count())
        throw MoraveltError(QStringLiteral("ルート一覧に %1 行目はありません").arg(row));
    const std::u16string_view chars = view(m_items[std::size_t(row)]);
    return QString(reinterpret_cast<const QChar*>(chars.data()), qsizetype(chars.size()));
}

std::size_t RouteListModel::memoryBytes() const
{
    std::size_t bytes = m_items.capacity() * sizeof(Item);
    for (const std::vector<char16_t>& block : m_blocks)
        bytes += block.capacity() * sizeof(char16_t);
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
