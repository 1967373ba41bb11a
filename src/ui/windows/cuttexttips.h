// SPDX-License-Identifier: MIT

#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

namespace moravelt {

// Draws cells as the default delegate does, and gives a cell too narrow for its text that
// whole text as its tooltip; a cell that shows all of its text has none.
class CutTextTips : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The width the cell's text needs in `view`, margins included.
    int textWidth(const QAbstractItemView& view, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace moravelt
