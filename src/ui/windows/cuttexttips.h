// SPDX-License-Identifier: MIT

#pragma once

#include <QStyledItemDelegate>

#include <vector>

class QAbstractItemView;
class QTableView;

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
    // Gives each column of `view` what its texts need, never less than its design width.
    // When that is wider than the view, the widest columns are cut down to one common width,
    // as far as their design widths allow; their cells are the ones with a tooltip.
    void fitColumns(QTableView& view, const std::vector<int>& designWidths) const;
    // The widths fitColumns gives for what each column needs and the width available.
    static std::vector<int> fittedWidths(const std::vector<int>& needed,
                                         const std::vector<int>& design, int available);

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace moravelt
