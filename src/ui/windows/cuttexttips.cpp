// SPDX-License-Identifier: MIT

#include "windows/cuttexttips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace moravelt {

int CutTextTips::textWidth(const QAbstractItemView& view, const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    return sizeHint(option, index).width();
}

bool CutTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                            const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !view || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && sizeHint(option, index).width() > view->visualRect(index).width())
        QToolTip::showText(event->globalPos(), text, view->viewport(), view->visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

} // namespace moravelt
