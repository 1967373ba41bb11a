#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace moravelt {

class RouteBatch;

// The route list: routes kept in ascending text order (by UTF-16 code unit, as a sorted
// list box orders them). A batch of routes arrives at once and is sorted and merged in.
// Route strings are packed into one block per batch; a search's routes stay as town ids
// and totals (RouteBatch), and their text is made only when a row is shown or read.
class RouteListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit RouteListModel(QObject* parent = nullptr);
    ~RouteListModel() override;

    void addRoutes(const QStringList& routes);
    void addRoutes(std::shared_ptr<const RouteBatch> routes);
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
        std::uint32_t source;
        std::uint32_t index;
    };
    // What one call brought: route strings packed end to end, or a search step's routes.
    struct Source
    {
        std::shared_ptr<const RouteBatch> routes;
        std::vector<char16_t> chars;
        std::vector<std::uint32_t> ends; // end of each text in chars
    };

    std::u16string_view view(const Source& source, std::uint32_t index) const;
    bool less(const Item& a, const Item& b) const;
    void insertSorted(const std::vector<Item>& batch);
    void mergeTail(std::size_t sortedCount);

    std::vector<Source> m_sources;
    std::vector<Item> m_items;
};

} // namespace moravelt
