// SPDX-License-Identifier: MIT

#include "windows/cuttexttips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QTableView>
#include <QToolTip>
#include <algorithm>

namespace moravelt {

int CutTextTips::textWidth(const QAbstractItemView& view, const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    return sizeHint(option, index).width();
}

std::vector<int> CutTextTips::fittedWidths(const std::vector<int>& needed,
                                           const std::vector<int>& design, int available)
{
    const auto widthsAt = [&](int level) {
        std::vector<int> widths(needed.size());
        int total = 0;
        for (std::size_t c = 0; c < needed.size(); ++c) {
            widths[c] = std::max(design[c], std::min(needed[c], level));
            total += widths[c];
        }
        return std::pair{widths, total};
    };
    // The highest common cap at which the columns still fit; none fits: the design widths.
    int low = 0;
    int high = needed.empty() ? 0 : *std::max_element(needed.begin(), needed.end());
    while (low < high) {
        const int level = low + (high - low + 1) / 2;
        if (widthsAt(level).second <= available)
            low = level;
        else
            high = level - 1;
    }
    return widthsAt(low).first;
}

void CutTextTips::fitColumns(QTableView& view, const std::vector<int>& designWidths) const
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return;
    // A cell shows its text in its column less the grid line.
    const int gridLine = view.showGrid() ? 1 : 0;
    std::vector<int> needed(std::size_t(model->columnCount()), 0);
    std::vector<int> design(needed.size(), 0);
    for (std::size_t c = 0; c < needed.size(); ++c) {
        design[c] = c < designWidths.size() ? designWidths[c] : 0;
        for (int r = 0; r < model->rowCount(); ++r)
            needed[c] = std::max(needed[c], textWidth(view, model->index(r, int(c))) + gridLine);
    }
    const std::vector<int> widths = fittedWidths(needed, design, view.viewport()->width());
    for (std::size_t c = 0; c < widths.size(); ++c)
        view.setColumnWidth(int(c), widths[c]);
}

bool CutTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                            const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !view || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    // The width of the text on one line: a wrapping view would measure it within the cell.
    QStyleOptionViewItem oneLine(option);
    oneLine.features &= ~QStyleOptionViewItem::WrapText;
    if (!text.isEmpty() && sizeHint(oneLine, index).width() > view->visualRect(index).width())
        QToolTip::showText(event->globalPos(), text, view->viewport(), view->visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

} // namespace moravelt
