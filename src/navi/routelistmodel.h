#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <cstdint>
#include <string_view>
#include <vector>

namespace moravelt {

// The route list: route strings kept in ascending text order (by UTF-16 code unit, as a
// sorted list box orders them). A search step's routes arrive as one batch that is sorted
// and merged in. The texts are packed into large blocks, so a million routes stay small.
class RouteListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit RouteListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void addRoutes(const QStringList& routes);
    void clear();
    int count() const { return int(m_items.size()); }
    // The text of a row; throws MoraveltError outside 0..count() - 1.
    QString text(int row) const;
    std::size_t memoryBytes() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Item
    {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };

    Item store(const QString& text);
    std::u16string_view view(const Item& item) const
    {
        return {m_blocks[item.block].data() + item.offset, item.length};
    }
    void mergeTail(std::size_t sortedCount);

    std::vector<std::vector<char16_t>> m_blocks;
    std::vector<Item> m_items;
};

} // namespace moravelt
