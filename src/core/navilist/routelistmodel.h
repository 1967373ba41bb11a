// SPDX-License-Identifier: MIT

#pragma once

#include "navi/routebatch.h"

#include <QAbstractListModel>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

namespace moravelt {

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

    class Merge;

    void addRoutes(const QStringList& routes);
    void addRoutes(std::shared_ptr<const RouteBatch> routes);
    // Adds what a merge prepared on another thread, or, when the list has changed since the
    // merge was started, merges here.
    void addRoutes(Merge&& merge);
    // What the list holds now, for a merge worked out away from this thread.
    Merge startMerge() const;
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
    void keepFirst(std::size_t count);

    std::vector<Source> m_sources;
    std::vector<Item> m_items;
    quint64 m_generation = 0; // counts changes, so that a stale merge is known
    mutable RouteBatch::TownsCache m_recent;

public:
    // A search step's routes merged into a copy of the list on the search's worker: a large
    // step's merge takes longer than the window may stand still.
    class Merge
    {
    public:
        // Any thread. Uses the routes' text order when they have one. The list then keeps
        // its first `keep` routes in text order, and lets go of batches it no longer shows.
        // A set `stop` ends it soon: false then, and the merge adds nothing.
        bool prepare(std::shared_ptr<const RouteBatch> routes,
                     const std::atomic<bool>* stop = nullptr,
                     std::int64_t keep = std::numeric_limits<std::int64_t>::max());

    private:
        friend class RouteListModel;
        quint64 m_generation = 0;
        bool m_usable = false; // the list held search routes only
        std::int64_t m_keep = std::numeric_limits<std::int64_t>::max();
        std::vector<std::shared_ptr<const RouteBatch>> m_batches;
        std::vector<Item> m_items;
        std::shared_ptr<const RouteBatch> m_routes;
    };
};

} // namespace moravelt
