// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace moravelt {

// The navigation list grid: a text matrix addressed like the flexible grid control, row 0
// being the fixed row. Views see rows 1.. as their rows and row 0 as the horizontal header.
class FlexGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit FlexGridModel(QObject* parent = nullptr);

    int rows() const { return m_rows; }
    // At least the fixed row; new rows are empty, dropped rows lose their texts.
    void setRows(int rows);
    int cols() const { return m_cols; }
    // Empties every cell, the fixed row included; keeps the row and column counts.
    void clear();
    // Cell texts; a row or column outside the grid throws MoraveltError.
    const QString& textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::size_t cell(int row, int col) const;

    int m_rows = 2;
    int m_cols = 5;
    std::vector<QString> m_cells;
};

} // namespace moravelt
