// SPDX-License-Identifier: MIT

#include "windows/growinglayout.h"

#include <QWidget>
#include <cmath>

namespace moravelt {

GrowingLayout::GrowingLayout(QWidget* parent, QSize design) : QLayout(parent), m_design(design)
{
    setContentsMargins(0, 0, 0, 0);
}

GrowingLayout::~GrowingLayout()
{
    for (const Entry& entry : m_entries)
        delete entry.item;
}

void GrowingLayout::addWidget(QWidget* widget, const QRect& design, const Shares& shares)
{
    addChildWidget(widget);
    m_entries.push_back({new QWidgetItem(widget), design, shares});
    invalidate();
}

QRect GrowingLayout::place(const QRect& design, const Shares& shares, QSize designSize,
                           const QRect& area)
{
    const int dx = area.width() - designSize.width();
    const int dy = area.height() - designSize.height();
    // Edges at the same share move alike, so controls that meet keep meeting.
    const auto moved = [](int edge, double share, int extra) {
        return edge + int(std::lround(share * extra));
    };
    const int left = moved(design.left(), shares.left, dx);
    const int top = moved(design.top(), shares.top, dy);
    const int right = moved(design.x() + design.width(), shares.right, dx);
    const int bottom = moved(design.y() + design.height(), shares.bottom, dy);
    // A window smaller than the design squeezes a control to nothing, never to less.
    return {area.x() + left, area.y() + top, std::max(0, right - left), std::max(0, bottom - top)};
}

void GrowingLayout::addItem(QLayoutItem* item)
{
    // Items come through addWidget, which knows their places; any other keeps its own.
    m_entries.push_back({item, item->geometry(), {}});
}

int GrowingLayout::count() const
{
    return int(m_entries.size());
}

QLayoutItem* GrowingLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? m_entries[std::size_t(index)].item : nullptr;
}

QLayoutItem* GrowingLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = m_entries[std::size_t(index)].item;
    m_entries.erase(m_entries.begin() + index);
    return item;
}

QSize GrowingLayout::sizeHint() const
{
    return m_design;
}

QSize GrowingLayout::minimumSize() const
{
    return {0, 0};
}

void GrowingLayout::setGeometry(const QRect& area)
{
    QLayout::setGeometry(area);
    // The widgets' own geometry, hidden ones too: a size hint or a size policy has no say in a
    // design place, and a control shown again is already in its place.
    for (const Entry& entry : m_entries) {
        const QRect rect = place(entry.design, entry.shares, m_design, area);
        if (QWidget* widget = entry.item->widget())
            widget->setGeometry(rect);
        else
            entry.item->setGeometry(rect);
    }
}

} // namespace moravelt
