// SPDX-License-Identifier: MIT

#pragma once

#include <QLayout>
#include <QRect>
#include <vector>

namespace moravelt {

// Lays controls out at their design places in an area of the design size, and moves each
// edge by its share of what the area has more (or less) than that size: a control that
// grows with the window has its right and bottom edges at share 1; two controls stacked
// share the extra height at the edge they meet on. The design size is the size hint, so a
// window opens at the design layout; the layout asks for no minimum size of its own.
class GrowingLayout : public QLayout
{
public:
    // The shares of the extra width (left, right) and height (top, bottom) that each edge
    // moves by.
    struct Shares
    {
        double left = 0;
        double top = 0;
        double right = 0;
        double bottom = 0;
    };

    GrowingLayout(QWidget* parent, QSize design);
    ~GrowingLayout() override;

    void addWidget(QWidget* widget, const QRect& design, const Shares& shares);
    // Where a control with that design place and those shares lies in `area`.
    static QRect place(const QRect& design, const Shares& shares, QSize designSize,
                       const QRect& area);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& area) override;

private:
    struct Entry
    {
        QLayoutItem* item;
        QRect design;
        Shares shares;
    };
    QSize m_design;
    std::vector<Entry> m_entries;
};

} // namespace moravelt
